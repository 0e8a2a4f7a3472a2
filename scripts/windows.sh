#!/usr/bin/env bash
# Cross-builds Kelvaro for 64-bit Windows with MinGW-w64: first freeglut,
# from one version of Debian's source package, as a static library; then the program
# from the same sources as everywhere else, as one kelvaro.exe; then the
# zip a Windows user downloads. Prints the zip's path last. The same
# sources give the same zip, bit for bit. KELVARO_FREEGLUT names another
# folder for freeglut, built there if it is not there yet: a build can
# reuse an earlier one's.
# Usage: scripts/windows.sh [DIR]     (default: build-windows)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${1:-$root/build-windows}")
toolchain=$root/platform/windows/mingw-w64.cmake
freeglut=$(realpath -m "${KELVARO_FREEGLUT:-$dir/freeglut}")
log=$dir/build.log
. "$root/scripts/lib/reproducible.sh"
. "$root/scripts/lib/mirror.sh"

"$root/scripts/setup.sh" windows
mkdir -p "$dir"
: >"$log"
trap '[ $? -eq 0 ] || echo "The log of the build: $log" >&2' EXIT

# freeglut's source: one version, whichever Debian this runs on, so that
# every release builds the same freeglut. Its files come from the pool of
# the machine's Debian mirror, each checked against its SHA-256.
freeglut_dsc=freeglut_3.4.0-1.dsc
freeglut_files=(
  "$freeglut_dsc 74bbbf431dd96a8984603a6d9b1cac8ccfdfe9e2f57fee46924579f3e1a3ca78"
  "freeglut_3.4.0.orig.tar.gz 3c0bcb915d9b180a97edaebd011b7a1de54583a838644dcd42bb0ea0c6f3eaec"
  "freeglut_3.4.0-1.debian.tar.xz db5b2361e80992b155e8c4c9f57a8a152b9ce75b846dd02af64a64e1c2a2bbef"
)

# Fetches freeglut's source into $freeglut-src and unpacks it there.
fetch_freeglut() {
  local mirror file sha256
  if ! mirror=$(debian_mirror debian); then
    echo "No Debian mirror in this machine's apt sources (/etc/apt/sources.list and" \
      "/etc/apt/sources.list.d/), so freeglut's source cannot be fetched: add one there." >&2
    return 1
  fi
  mkdir -p "$freeglut-src"
  for entry in "${freeglut_files[@]}"; do
    read -r file sha256 <<<"$entry"
    /usr/lib/apt/apt-helper download-file "$mirror/pool/main/f/freeglut/$file" \
      "$freeglut-src/$file" "SHA256:$sha256" >>"$log" 2>&1
  done
  (cd "$freeglut-src" && dpkg-source -x "$freeglut_dsc" >>"$log" 2>&1)
}

# Builds freeglut for Windows as a static library, with <GL/glut.h>, and
# installs it into $freeglut with its licence.
build_freeglut() {
  local source
  source=$(find "$freeglut-src" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*' | head -n 1)
  cmake -S "$source" -B "$freeglut-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$freeglut" \
    -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=ON >>"$log" 2>&1
  cmake --build "$freeglut-build" -j"$(nproc)" >>"$log" 2>&1
  cmake --install "$freeglut-build" >>"$log" 2>&1
  install -D -m 644 "$source/COPYING" "$freeglut/share/doc/freeglut/COPYING"
}

# One build of freeglut at a time in its folder, which others may share.
mkdir -p "$(dirname "$freeglut")"
exec 9>"$freeglut.lock"
flock 9
if [ ! -f "$freeglut/share/doc/freeglut/COPYING" ]; then
  echo "Building freeglut for Windows"
  fetch_freeglut
  build_freeglut
fi
flock -u 9

echo "Building kelvaro.exe"
cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DFreeGLUT_DIR="$freeglut/lib/cmake/FreeGLUT" -DBUILD_TESTING=OFF -DKELVARO_WERROR=ON \
  >>"$log" 2>&1
cmake --build "$dir" -j"$(nproc)" >>"$log" 2>&1
(cd "$dir" && cpack >>"$log" 2>&1)
ls "$dir"/kelvaro-*-windows-x86_64.zip
