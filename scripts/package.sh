#!/usr/bin/env bash
# Installs what packaging needs, then builds the Debian package of Kelvaro
# with CPack, with Debian's own build flags, and prints its path last.
# The same sources give the same package, bit for bit, wherever they are.
# Usage: scripts/package.sh [DIR]     (default: build-deb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${1:-$root/build-deb}")
. "$root/scripts/reproducible.sh"

"$root/scripts/setup.sh" package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
# The program is to be the same whichever folders the sources and the
# build are in.
prefix_map="-ffile-prefix-map=$root=. -ffile-prefix-map=$dir=."
rm -f "$dir"/kelvaro_*.deb
cmake -S "$root" -B "$dir" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS) $prefix_map" \
  -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS) $prefix_map" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >"$dir.log" 2>&1 &&
  cmake --build "$dir" -j"$(nproc)" >>"$dir.log" 2>&1 &&
  (cd "$dir" && cpack -G DEB) >>"$dir.log" 2>&1 ||
  { cat "$dir.log" >&2; exit 1; }
rm -f "$dir.log"
ls "$dir"/kelvaro_*.deb
