# Builds Kelvaro and its unit tests with AddressSanitizer and UBSan in
# DIR, warnings as errors; the compiler's output is shown on a failure.
# Usage: bash build.sh DIR
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:?usage: build.sh DIR}
mkdir -p "$dir"
cmake -S "$root" -B "$dir" -DBUILD_TESTING=ON -DKELVARO_WERROR=ON -DKELVARO_SANITIZE=ON >"$dir/build.log" 2>&1 &&
  cmake --build "$dir" -j"$(nproc)" >>"$dir/build.log" 2>&1 ||
  { cat "$dir/build.log" >&2; exit 1; }
