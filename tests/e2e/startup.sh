# The first picture: one 300 x 400 window titled "Kelvaro", a white
# background, the floor as a band low in the window and the ball above.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro
[ "$(xdotool getwindowname "$win")" = "Kelvaro" ] || fail "wrong title"
shot
[ "$shot_w x $shot_h" = "300 x 400" ] || fail "window is $shot_w x $shot_h"
expect_between "white pixels" "$(count_colour white)" $(picture white.start)

expect_start_view "start"

# The floor's far edge is narrower than its near edge.
read -r n x0 y0 x1 y1 < <(find_colour floor)
read -r far _ < <(find_colour floor 0 "$((y0 + 1))" 299 "$((y0 + 1))")
read -r near _ < <(find_colour floor 0 "$((y1 - 1))" 299 "$((y1 - 1))")
[ "$far" -lt "$near" ] || fail "floor's far edge ($far) not narrower than near ($near)"
