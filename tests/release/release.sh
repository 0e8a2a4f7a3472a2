# A release, built twice from a clone of the commit by reprotest,
# Debian's own check: the second build in another folder, at another
# time (faketime, months ahead), under another umask, time zone, locale,
# home, kernel name and number of CPUs. The sums must be the same; if
# they are not, reprotest prints diffoscope's account of what differs.
# Then the artifacts: their names, their sums, the version inside each,
# a clean lintian, and the web zip unpacked and served passing the
# desktop page test.
# Usage: bash release.sh     (KELVARO_FREEGLUT: a built freeglut to reuse)
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

git clone -q "$root" "$work/src"
# reprotest runs as root without the variations that need sudo, FUSE or
# a namespace of its own (user and group, file order, host name).
(cd "$work" && reprotest --vary=-user_group,-fileordering,-domain_host --store-dir "$work/out" \
  -s "$work/src" 'scripts/release.sh dist' 'dist/*') >"$work/reprotest.log" 2>&1 ||
  { cat "$work/reprotest.log" >&2; fail "the two builds differ, or one failed"; }

dist=$work/out/control/source-root/dist
version=$(sed -n 's/^project(kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
expected="SHA256SUMS kelvaro-$version-web.zip kelvaro-$version-windows-x86_64.zip kelvaro-$version.tar.gz kelvaro_${version}_amd64.deb kelvaro_${version}_arm64.deb"
[ "$(cd "$dist" && echo *)" = "$expected" ] || fail "the release holds $(cd "$dist" && echo *)"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not verify"

# The version, inside each.
for arch in amd64 arm64; do
  deb=$dist/kelvaro_${version}_$arch.deb
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the $arch package's version is $(dpkg-deb -f "$deb" Version)"
  expect_lintian_clean "$deb"
  bad=$(dpkg-deb -c "$deb" | awk '$1 !~ /^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x)$/')
  [ -z "$bad" ] || fail "the $arch package holds files of other modes: $bad"
done
unzip -q "$dist/kelvaro-$version-windows-x86_64.zip" -d "$work/windows"
# Read to the end: grep -q would leave windres writing into a closed pipe.
x86_64-w64-mingw32-windres -J coff -O rc -i "$work/windows/kelvaro-$version-windows-x86_64/kelvaro.exe" |
  grep -F "VALUE \"ProductVersion\", \"$version\"" >/dev/null || fail "kelvaro.exe is not version $version"
tar -xzf "$dist/kelvaro-$version.tar.gz" -C "$work"
grep -q "^project(kelvaro VERSION $version " "$work/kelvaro-$version/CMakeLists.txt" ||
  fail "the sources are not those of version $version"
unzip -q "$dist/kelvaro-$version-web.zip" -d "$work/web"
site=$work/web/kelvaro-$version-web
grep -q "Kelvaro $version is free software" "$site/kelvaro.html" || fail "the page's footer has no version $version"
[ -f "$site/LICENSE.txt" ] || fail "the web zip has no licence"

KELVARO_WEB=$site node --test "$root/tests/web/page.test.mjs" >"$work/page.log" 2>&1 ||
  { cat "$work/page.log" >&2; fail "the web zip, served, does not pass the page test"; }
