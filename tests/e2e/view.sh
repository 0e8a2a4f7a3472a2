# The arrow keys turn the scene; "+"/"-" and "x"/"z" change the ball's
# size and place; "r" restores them.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro

expect_ball "start" $(picture ball.start)
press_times 5 plus
expect_ball "radius 35" $(picture ball.radius35)
press_times 2 minus
expect_ball "radius 29" $(picture ball.radius29)
press_times 10 x
expect_ball "offset 40" $(picture ball.offset40)
press_times 5 z
expect_ball "offset 20" $(picture ball.offset20)
press r
expect_ball "after r" $(picture ball.start)

# Turned 45 degrees about the vertical, the floor shows a corner at each
# side, wider than its 193-pixel near edge.
press_times 9 Right
shot
read -r _ x0 _ x1 _ < <(find_colour floor)
expect_between "floor width at turn 45" "$((x1 - x0 + 1))" $(picture floor.turn45.width)
press_times 9 Left

# Tilted by 90 degrees (Down 18 times) the floor faces the viewer: a
# square about 124 pixels a side around the window's centre, the ball
# in front of it, and nothing of it left in the lower part.
press_times 18 Down
shot
expect_box "tilt 90" floor $(picture floor.tilt90)
[ "$(count_colour floor $(picture floor.tilt90.empty))" -eq 0 ] || fail "floor still low in the window"
