# The arm64 package: it builds, lintian has nothing to say, it depends on
# arm64's libraries, and its program is an ARM aarch64 executable; it is
# unpacked into DIR/root for the end-to-end tests (nothing is installed).
# Usage: bash package.sh DIR
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:?usage: package.sh DIR}

deb=$("$root/scripts/arm64.sh" "$dir/deb" | tail -n 1)
[[ $(basename "$deb") =~ ^kelvaro_[0-9.]+_arm64\.deb$ ]] || fail "package named $deb"
[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] || fail "not an arm64 package"
[[ $(dpkg-deb -f "$deb" Depends) == *libglut3.12* ]] || fail "depends on $(dpkg-deb -f "$deb" Depends)"
expect_lintian_clean "$deb"
rm -rf "$dir/root"
dpkg-deb -x "$deb" "$dir/root"
file -b "$dir/root/usr/bin/kelvaro" | grep -q "ELF 64-bit LSB pie executable, ARM aarch64" ||
  fail "the program is $(file -b "$dir/root/usr/bin/kelvaro")"
