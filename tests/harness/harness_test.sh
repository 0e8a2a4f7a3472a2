# The harness's own faults, once found: a failed command is reported with
# its own status, file and line; a test with no group stops a run by
# name, and a new group runs without a second edit.
. "$(dirname "$0")/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-harness.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '. %q\nstep() { sh -c "exit 7"; }\nstep\n' "$root/scripts/lib/strict.sh" >"$work/seven.sh"
said=$(bash "$work/seven.sh" 2>&1) && fail "a failed command did not stop the script"
[ "$said" = 'FAIL: seven.sh line 2: sh -c "exit 7" (exit 7)' ] || fail "strict.sh reported: $said"

# A project with a test in a group not known before, and one in none.
. "$root/scripts/lib/groups.sh"
printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(groups NONE)' 'enable_testing()' \
  'add_test(NAME fresh COMMAND true)' 'set_tests_properties(fresh PROPERTIES LABELS newgroup)' 'add_test(NAME stray COMMAND true)' \
  >"$work/CMakeLists.txt"
cmake -S "$work" -B "$work/build" >/dev/null
for groups in "" newgroup; do
  said=$(test_labels "$work/build" $groups 2>&1) && fail "a test with no group passed with groups '$groups'"
  [[ $said == *"no group"*"stray"* ]] || fail "the test with no group not named: $said"
done
sed -i '$d' "$work/CMakeLists.txt" && cmake -S "$work" -B "$work/build" >/dev/null
for groups in "" newgroup; do
  [ "$(test_labels "$work/build" $groups)" = '^(newgroup)$' ] || fail "groups '$groups' do not run newgroup"
done
