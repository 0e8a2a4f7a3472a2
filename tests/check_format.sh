# Fails if any C or C++ source differs from what clang-format makes of it.
. "$(dirname "$0")/harness/checks.sh"
cd "$(dirname "$0")/.."
dirs=()
for dir in app scene controls platform tests bench; do [ -d "$dir" ] && dirs+=("$dir"); done
find "${dirs[@]}" \( -name '*.[ch]' -o -name '*.cpp' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
