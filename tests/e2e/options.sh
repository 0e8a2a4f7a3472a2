# Options that GLUT does not know change nothing; with no display the
# program stops at once, non-zero, with GLUT's own message.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro --frobnicate 7 -q extra
shot
[ "$shot_w x $shot_h" = "300 x 400" ] || fail "window is $shot_w x $shot_h"
[ "$(count_colour ball)" -gt 1000 ] || fail "no ball"
[ "$(count_colour floor)" -gt 5000 ] || fail "no floor"
expect_silent

status=0
env -u DISPLAY timeout 5 "$KELVARO" >"$work/nodisplay.out" 2>"$work/nodisplay.err" || status=$?
[ "$status" -ne 124 ] || fail "hung without a display"
[ "$status" -ne 0 ] || fail "exit status 0 without a display"
grep -q "failed to open display" "$work/nodisplay.err" ||
  fail "no message from GLUT: $(cat "$work/nodisplay.err")"
