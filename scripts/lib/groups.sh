# Sourced: the test groups are the labels that tests/CMakeLists.txt gives
# its tests, and nothing else lists them. test_labels BUILD GROUP...
# prints the ctest label expression that runs those groups (all, if none
# is named) in the configured and built BUILD. It fails, saying which, if
# a test there has no group, since no run would ever pick it up, or if a
# group named is not one.
test_labels() {
  local build=$1 group groups unlabelled
  shift
  groups=$(ctest --test-dir "$build" --print-labels | sed -n 's/^  //p' | tr '\n' ' ')
  unlabelled=$(ctest --test-dir "$build" -N -LE . | sed -n 's/^ *Test *#[0-9]*: //p' | tr '\n' ' ')
  if [ -n "$unlabelled" ]; then
    echo "These tests have no group, and would never run: ${unlabelled% }." \
      "Give each a LABELS property (tests/CMakeLists.txt)." >&2
    return 1
  fi
  for group in "$@"; do
    [[ " $groups" == *" $group "* ]] || { echo "usage: scripts/test.sh [GROUP...]; the groups: ${groups% }" >&2; return 2; }
  done
  [ $# -gt 0 ] || set -- $groups
  echo "^($(IFS='|' && echo "$*"))\$"
}
