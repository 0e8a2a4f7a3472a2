# A resize keeps the picture right: the viewport fills the new window and
# the projection takes its aspect, so the ball stays round and centred.
. "$(dirname "$0")/lib.sh"

ball_in_full_view() {
  read -r n x0 y0 x1 y1 < <(find_colour ball)
  [ "$n" -gt 0 ] && [ "$y0" -gt 0 ] && [ "$y1" -lt $((shot_h - 1)) ]
}

# The ball's diameter in pixels is 40 units' worth at depth 300 for a
# vertical field of view of 45 degrees: 0.1609 times the window height.
expect_right_picture() {
  local w=$1 h=$2
  resize "$w" "$h"
  poll_shots 5 ball_in_full_view || fail "$w x $h: the ball never fully in view"
  [ "$shot_w x $shot_h" = "$w x $h" ] || fail "screenshot is $shot_w x $shot_h"
  local want=$((h * 1609 / 10000))
  expect_between "$w x $h: ball width" "$((x1 - x0 + 1))" $((want - 4)) $((want + 4))
  expect_between "$w x $h: ball height" "$((y1 - y0 + 1))" $((want - 4)) $((want + 4))
  expect_between "$w x $h: ball centre x" "$(((x0 + x1) / 2))" $((w / 2 - 3)) $((w / 2 + 2))
  read -r _ x0 _ x1 _ < <(find_colour floor)
  expect_between "$w x $h: floor centre x" "$(((x0 + x1) / 2))" $((w / 2 - 3)) $((w / 2 + 2))
  # The upper half of both outer columns is background (the floor may
  # reach the edges lower down): the viewport covers the whole window.
  local half=$((h / 2))
  [ "$(count_colour white 0 0 0 $((half - 1)))" -eq "$half" ] ||
    fail "$w x $h: left edge not white"
  [ "$(count_colour white $((w - 1)) 0 $((w - 1)) $((half - 1)))" -eq "$half" ] ||
    fail "$w x $h: right edge not white"
}

start_kelvaro
expect_right_picture 600 300
expect_right_picture 200 500
expect_right_picture 300 400
