#!/usr/bin/env bash
# Cross-builds Kelvaro for 64-bit Windows with MinGW-w64: first freeglut,
# from Debian's source package, as a static library; then the program
# from the same sources as everywhere else, as one kelvaro.exe; then the
# zip a Windows user downloads. Prints the zip's path last. The same
# sources give the same zip, bit for bit. KELVARO_FREEGLUT names another
# folder for freeglut, built there if it is not there yet: a build can
# reuse an earlier one's.
# Usage: scripts/windows.sh [DIR]     (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${1:-$root/build-windows}")
toolchain=$root/platform/windows/mingw-w64.cmake
freeglut=$(realpath -m "${KELVARO_FREEGLUT:-$dir/freeglut}")
log=$dir/build.log
. "$root/scripts/reproducible.sh"

"$root/scripts/setup.sh" windows
mkdir -p "$dir"
: >"$log"
trap 'echo "failed; the log: $log" >&2' ERR

# Fetches freeglut's source into $freeglut-src. apt gets it through a
# list of our own that names only the machine's Debian mirror, as the
# machine's apt sources name it: they stay as they are.
fetch_freeglut() {
  local apt=$dir/apt mirror codename
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources 2>/dev/null |
    grep -oE '(https?|file)://[^ ]*/debian/?( |$)' | head -n 1 | tr -d ' ') ||
    true
  if [ -z "$mirror" ]; then
    echo "No Debian mirror in this machine's apt sources (/etc/apt/sources.list and" \
      "/etc/apt/sources.list.d/), so freeglut's source cannot be fetched: add one there." >&2
    return 1
  fi
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$freeglut-src"
  echo "deb-src $mirror $codename main" >"$apt/sources.list"
  local options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=-
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache")
  apt-get "${options[@]}" update >>"$log" 2>&1
  (cd "$freeglut-src" && apt-get "${options[@]}" source freeglut >>"$log" 2>&1)
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
