# The unit tests, cross-built for arm64 and run under QEMU: CMake runs
# them through the toolchain's emulator.
# Usage: bash unit.sh DIR
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:?usage: unit.sh DIR}
mkdir -p "$dir"

cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/platform/arm64/aarch64-linux-gnu.cmake" \
  -DBUILD_TESTING=ON -DKELVARO_WERROR=ON >"$dir.log" 2>&1 &&
  cmake --build "$dir" -j"$(nproc)" >>"$dir.log" 2>&1 ||
  { cat "$dir.log" >&2; exit 1; }
ctest --test-dir "$dir" --output-on-failure
