# The Debian package: it builds; lintian, desktop-file-validate,
# appstreamcli and man find nothing to say about it; its catalog entry
# composes; apt resolves its dependencies; and the program unpacked from
# it (nothing is installed) passes the end-to-end start-up and desktop
# tests.
# Usage: bash package.sh BUILD_DIR WM_CLOSE
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

deb=$("$root/scripts/package.sh" "$1" | tail -n 1)
[[ $(basename "$deb") =~ ^kelvaro_[0-9.]+_$(dpkg --print-architecture)\.deb$ ]] ||
  fail "package named $deb"
expect_lintian_clean "$deb"

dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share id=example.kelvaro.kelvaro
said=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) &&
  [ -z "$said" ] || fail "desktop-file-validate: $said"
# The menu entry matches the window's class (tests/e2e/desktop.sh).
grep -qx 'StartupWMClass=Kelvaro' "$share/applications/$id.desktop" || fail "no StartupWMClass=Kelvaro"
# Software centres: the metainfo validates, and a catalog composed from
# the package's files, as a distribution makes one, lists Kelvaro with
# its icon.
# The one warning allowed: no homepage, which the project does not have.
said=$(appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml" 2>&1 || true)
! grep -E '^[EWP]:' <<<"$said" | grep -v ' url-homepage-missing$' || fail "appstreamcli validate: $said"
appstreamcli compose --origin=kelvaro --result-root="$work/catalog" "$work/root" >"$work/compose" 2>&1 ||
  fail "appstreamcli compose: $(cat "$work/compose")"
catalog=$(zcat "$work/catalog/usr/share/swcatalog/xml/kelvaro.xml.gz")
for want in "<id>$id</id>" '<name>Kelvaro</name>' '<summary>Watch a wire-frame ball' \
  "<icon type=\"cached\" width=\"64\" height=\"64\">$id.png" \
  "<icon type=\"cached\" width=\"128\" height=\"128\">$id.png"; do
  [[ $catalog == *"$want"* ]] || fail "the composed catalog has no $want: $catalog"
done
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

for test in startup desktop; do bash "$root/tests/e2e/$test.sh" "$work/root/usr/bin/kelvaro" "$2"; done
