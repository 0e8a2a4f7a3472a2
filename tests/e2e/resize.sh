# A resize keeps the picture right: the viewport fills the new window and
# the projection takes its aspect, so the ball keeps its true size and
# shape and stays centred.
. "$(dirname "$0")/../harness/e2e.sh"

ball_in_full_view() {
  read -r n x0 y0 x1 y1 < <(find_colour ball)
  [ "$n" -gt 0 ] && [ "$y0" -gt 0 ] && [ "$y1" -lt $((shot_h - 1)) ]
}

# Prints the width and height in pixels that the ball of radius 20, 300
# units ahead, must have in a window H pixels high (45 degrees of view)
# when its top edge is at row TOP. Perspective draws a sphere above or
# below the view axis as an ellipse drawn out towards the picture's edge,
# so only its width is the same wherever it is; its height follows from
# where it is, which its top edge tells.
ball_size_at() {
  awk -v h="$1" -v top="$2" 'BEGIN {
    r = 20; d = 300
    f = h / 2 / (sin(atan2(1, 1) / 2) / cos(atan2(1, 1) / 2))
    # Slopes (y over depth) of the rays that graze the top and bottom.
    t_top = (h / 2 - top) / f
    y = d * t_top - r * sqrt(1 + t_top * t_top)
    a = d * d - r * r; b = -2 * d * y; c = y * y - r * r
    t_bottom = (-b - sqrt(b * b - 4 * a * c)) / (2 * a)
    printf "%d %d\n", 2 * f * r / sqrt(d * d - r * r) + 0.5, (t_top - t_bottom) * f + 0.5
  }'
}

expect_right_picture() {
  local w=$1 h=$2 want_w want_h
  resize "$w" "$h"
  poll_shots 5 ball_in_full_view || fail "$w x $h: the ball never fully in view"
  [ "$shot_w x $shot_h" = "$w x $h" ] || fail "screenshot is $shot_w x $shot_h"
  # The lit pixels reach up to a pixel past the true outline at each end
  # and both ends count: hence 3 pixels either way, which a ball only 5%
  # too large already exceeds in each of these windows.
  read -r want_w want_h < <(ball_size_at "$h" "$y0")
  expect_between "$w x $h: ball width" "$((x1 - x0 + 1))" $((want_w - 3)) $((want_w + 3))
  expect_between "$w x $h: ball height (top at row $y0)" "$((y1 - y0 + 1))" \
    $((want_h - 3)) $((want_h + 3))
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
