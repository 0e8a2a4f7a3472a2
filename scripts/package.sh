#!/usr/bin/env bash
# Installs what packaging needs, then builds the Debian package of Kelvaro
# with CPack, with Debian's own build flags, and prints its path last.
# The same sources give the same package, bit for bit, wherever they are.
# For another architecture than the machine's (ARCH, as Debian names it),
# it cross-builds with the toolchain in platform/ARCH/ (scripts/arm64.sh
# installs what that needs).
# Usage: scripts/package.sh [DIR [ARCH]]     (default: build-deb, this machine's)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${1:-$root/build-deb}")
arch=${2:-$(dpkg --print-architecture)}
. "$root/scripts/lib/reproducible.sh"

"$root/scripts/setup.sh" package
cross=()
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
  cross=(-DCMAKE_TOOLCHAIN_FILE="$(echo "$root/platform/$arch/"*.cmake)"
    -DCPACK_DEBIAN_PACKAGE_ARCHITECTURE="$arch")
fi
# Debian's flags for ARCH, and dpkg-shlibdeps's dependencies of ARCH.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_HOST_ARCH=$arch
flags() { dpkg-buildflags --get "$1"; }
# The program is to be the same whichever folders the sources and the
# build are in.
prefix_map="-ffile-prefix-map=$root=. -ffile-prefix-map=$dir=."
mkdir -p "$dir"
rm -f "$dir"/kelvaro_*.deb
cmake -S "$root" -B "$dir" "${cross[@]}" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS) $prefix_map" \
  -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS) $prefix_map" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >"$dir.log" 2>&1 &&
  cmake --build "$dir" -j"$(nproc)" >>"$dir.log" 2>&1 &&
  (cd "$dir" && cpack -G DEB) >>"$dir.log" 2>&1 ||
  { cat "$dir.log" >&2; exit 1; }
rm -f "$dir.log"
ls "$dir"/kelvaro_*.deb
