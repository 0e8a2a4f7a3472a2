# Screenshots of the window, their colours, polls of the moving picture,
# and the checks on what it shows, against tests/pictures.txt.
pictures=$(dirname "${BASH_SOURCE[0]}")/../pictures.txt

# Takes a screenshot of the window into $work/shot.ppm and one pixel a
# line ("r g b") into $work/shot.pix; sets shot_w and shot_h.
shot() {
  xwd -id "$win" -silent >"$work/shot.xwd"
  convert "$work/shot.xwd" +set comment -depth 8 ppm:"$work/shot.ppm"
  read -r shot_w shot_h < <(sed -n 2p "$work/shot.ppm")
  tail -c $((shot_w * shot_h * 3)) "$work/shot.ppm" |
    od -An -v -tu1 -w3 >"$work/shot.pix"
}

# Prints the numbers that tests/pictures.txt gives under NAME.
picture() {
  awk -v name="$1" '$1 == name { $1 = ""; print substr($0, 2); found = 1 }
    END { exit !found }' "$pictures" || fail "no $1 in $pictures"
}

# Finds a colour (floor, ball, companion, white; within the pictures'
# tolerance) in the last screenshot, in the whole window or in the box
# X0 Y0 X1 Y1 (inclusive), and prints "count minx miny maxx maxy" (the
# box is -1s when the count is 0).
find_colour() {
  local box=(0 0 $((shot_w - 1)) $((shot_h - 1)))
  [ $# -eq 5 ] && box=("$2" "$3" "$4" "$5")
  read -r r g b < <(picture "colour.$1")
  awk -v w="$shot_w" -v r="$r" -v g="$g" -v b="$b" -v tol="$(picture colour.tolerance)" \
    -v x0="${box[0]}" -v y0="${box[1]}" -v x1="${box[2]}" -v y1="${box[3]}" '
    function near(v, want) { return v - want <= tol && want - v <= tol }
    {
      x = (NR - 1) % w; y = int((NR - 1) / w)
      if (x < x0 || x > x1 || y < y0 || y > y1) next
      if (!near($1, r) || !near($2, g) || !near($3, b)) next
      if (n++ == 0) { minx = maxx = x; miny = maxy = y }
      if (x < minx) minx = x; if (x > maxx) maxx = x
      if (y < miny) miny = y; if (y > maxy) maxy = y
    }
    END { if (n) print n, minx, miny, maxx, maxy; else print 0, -1, -1, -1, -1 }
  ' "$work/shot.pix"
}

# Number of pixels of a colour in the last screenshot (optionally in a box).
count_colour() { find_colour "$@" | cut -d' ' -f1; }

# The width and height of the floor's bounding box in the last screenshot.
floor_size() {
  local x0 y0 x1 y1
  read -r _ x0 y0 x1 y1 < <(find_colour floor)
  echo $((x1 - x0 + 1)) $((y1 - y0 + 1))
}

# The companion is in view.
companion_shown() { [ "$(count_colour companion)" -ge "$(picture companion.shown)" ]; }

# Waits until the picture has changed COUNT times (default 1): the
# animation is drawing frames. Events sent before the call are with the
# program by the first screenshot, but the frame that changes it may have
# been drawn before they were read; the program reads every waiting event
# before it draws again, so the second change shows them.
wait_for_frames() {
  local last tries=0 changes=0
  shot && last=$(md5sum <"$work/shot.pix")
  while [ "$changes" -lt "${1:-1}" ]; do
    shot
    if [ "$(md5sum <"$work/shot.pix")" != "$last" ]; then
      last=$(md5sum <"$work/shot.pix")
      changes=$((changes + 1))
      continue
    fi
    tries=$((tries + 1))
    [ "$tries" -le 50 ] || fail "the picture does not change: no animation"
    sleep 0.05
  done
}

# Takes screenshots until CONDITION (a shell command) holds for one of
# them, by the rule of tests/pictures.txt's poll.shots: poll_shots
# SECONDS CONDITION...
poll_shots() {
  local deadline=$((SECONDS + $1)) least shots
  least=$(picture poll.shots)
  shift
  for ((shots = 0; shots < least || SECONDS <= deadline; shots++)); do
    shot
    if "$@"; then return 0; fi
  done
  return 1
}

# The colour's bounding box in the last screenshot is X0 Y0 X1 Y1, each
# side within the pictures' tolerance: expect_box WHAT COLOUR X0 Y0 X1 Y1.
expect_box() {
  local what="$1: $2" want=("$3" "$4" "$5" "$6") got side tol
  tol=$(picture box.tolerance)
  read -r -a got < <(find_colour "$2")
  for side in 0 1 2 3; do
    expect_between "$what box[$side]" "${got[side + 1]}" \
      $((want[side] - tol)) $((want[side] + tol))
  done
}

# The ball is LOW..HIGH pixels wide and centred between C0 and C1 (x):
# expect_ball WHAT LOW HIGH C0 C1.
expect_ball() {
  local what=$1 n x0 x1
  shot
  read -r n x0 _ x1 _ < <(find_colour ball)
  [ "$n" -gt 0 ] || fail "$what: no ball in view"
  expect_between "$what: ball width" "$((x1 - x0 + 1))" "$2" "$3"
  expect_between "$what: ball centre x" "$(((x0 + x1) / 2))" "$4" "$5"
}

# The picture as it is at start-up, in a 300 x 400 window: the floor seen
# slanting from above as a band low in the window, the ball of radius 20
# (64 pixels) centred above it, and no companion.
expect_start_view() {
  expect_ball "$1" $(picture ball.start)
  expect_box "$1" floor $(picture floor.start)
  [ "$(count_colour companion)" -eq 0 ] || fail "$1: companion shown"
}

# At DPI, the window is 300 x 400 at the scale, in the screen's own
# pixels, and the picture fills it: the floor's box is BASE_W x BASE_H
# (its size at 96 DPI) grown by the scale: expect_scaled DPI BASE_W
# BASE_H. The box, not the floor's pixels: the ball may be in front of
# the floor, but never in front of its outermost pixels. Each of the
# box's four edges may fall a pixel either way of where the scale puts
# it: so much may the area differ.
expect_scaled() {
  local dpi=$1 width height want_width want_height tolerance
  shot
  [ "$shot_w x $shot_h" = "$((300 * dpi / 96)) x $((400 * dpi / 96))" ] ||
    fail "at $dpi DPI the window is $shot_w x $shot_h"
  read -r width height < <(floor_size)
  want_width=$(($2 * dpi / 96)) want_height=$(($3 * dpi / 96))
  tolerance=$((2 * (want_width + want_height) + 4))
  expect_between "at $dpi DPI the floor's box" $((width * height)) \
    $((want_width * want_height - tolerance)) $((want_width * want_height + tolerance))
}
