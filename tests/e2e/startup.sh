# The first picture: one 300 x 400 window titled "Kelvaro", a white
# background, the floor as a band low in the window and the ball above.
. "$(dirname "$0")/lib.sh"

start_kelvaro
[ "$(xdotool getwindowname "$win")" = "Kelvaro" ] || fail "wrong title"
shot
[ "$shot_w x $shot_h" = "300 x 400" ] || fail "window is $shot_w x $shot_h"
expect_between "white pixels" "$(count_colour white)" 90000 118000

# The floor is seen slanting from above: its far edge narrower, its near
# edge about 97 pixels either side of the centre, both in the lower part.
read -r n x0 y0 x1 y1 < <(find_colour floor)
expect_between "floor top" "$y0" 318 330
expect_between "floor bottom" "$y1" 368 378
expect_between "floor left" "$x0" 48 58
expect_between "floor right" "$x1" 242 252
read -r far _ < <(find_colour floor 0 "$((y0 + 1))" 299 "$((y0 + 1))")
read -r near _ < <(find_colour floor 0 "$((y1 - 1))" 299 "$((y1 - 1))")
[ "$far" -lt "$near" ] || fail "floor's far edge ($far) not narrower than near ($near)"

# The ball, radius 20 at 300 units: about 64 pixels across, centred.
read -r n x0 y0 x1 y1 < <(find_colour ball)
expect_between "ball pixels" "$n" 1000 4000
expect_between "ball width" "$((x1 - x0 + 1))" 60 68
expect_between "ball centre x" "$(((x0 + x1) / 2))" 147 152
