# The Debian package: it builds; lintian, desktop-file-validate and man
# find nothing to say about it; apt resolves its dependencies; and the
# program unpacked from it (nothing is installed) shows the start picture
# and closes cleanly, checked by the end-to-end start-up test.
# Usage: bash package.sh BUILD_DIR WM_CLOSE
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

deb=$("$root/scripts/package.sh" "$1" | tail -n 1)
[[ $(basename "$deb") =~ ^kelvaro_[0-9.]+_$(dpkg --print-architecture)\.deb$ ]] ||
  fail "package named $deb"
lintian --fail-on error,warning "$deb" || fail "lintian"

dpkg-deb -x "$deb" "$work/root"
said=$(desktop-file-validate "$work/root/usr/share/applications/kelvaro.desktop" 2>&1) &&
  [ -z "$said" ] || fail "desktop-file-validate: $said"
# The version is written in three places, which must agree.
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l "$root/packaging/changelog" -S Version)" = "$version" ] ||
  fail "packaging/changelog's last entry is not version $version"
grep -q "^\.TH KELVARO 1 [0-9-]* \"Kelvaro $version\"" "$root/data/kelvaro.1" ||
  fail "data/kelvaro.1 does not say version $version"
said=$(man --warnings -E UTF-8 -l "$work/root/usr/share/man/man1/kelvaro.1.gz" 2>&1 >/dev/null)
[ -z "$said" ] || fail "man: $said"

apt-get install --simulate "$deb" >"$work/apt" 2>&1 || fail "apt: $(cat "$work/apt")"
grep -q '^Inst kelvaro ' "$work/apt" || fail "apt would not install it: $(cat "$work/apt")"

bash "$root/tests/e2e/startup.sh" "$work/root/usr/bin/kelvaro" "$2"
