# The one helper every end-to-end test sources. It gives a test its own
# X server, starts the real program in it, sends it keys, takes
# screenshots of its window and finds colours in them, so that a test
# reads as the few steps a person would take.
#
# A test is run as: bash TEST.sh KELVARO WM_CLOSE
# KELVARO_PRELOAD, if set, is preloaded into the program (the sanitizer
# build keeps Mesa's driver loaded that way); KELVARO_CLOSE_SECONDS is
# how long a close may take (default 1) and KELVARO_START_SECONDS how
# long the window may take to appear (default 10); KELVARO_HARMLESS names a file of
# patterns (grep -E) for lines that the program may print (the Windows
# build's freeglut prints two under Wine).
#
# However a test ends, the program is then closed as a window manager
# closes it, and the test fails unless it exits with 0 having printed
# nothing: so every test also checks that, and a sanitizer's report.
. "$(dirname "${BASH_SOURCE[0]}")/../strict.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
pictures=$(dirname "${BASH_SOURCE[0]}")/../pictures.txt

KELVARO=${1:?usage: TEST.sh KELVARO WM_CLOSE}
WM_CLOSE=${2:?usage: TEST.sh KELVARO WM_CLOSE}
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-e2e.XXXXXX")
xvfb_pid=""
pid=""
win=""

cleanup() {
  local status=$?
  set +e
  trap - ERR
  if [ -n "$pid" ]; then
    if ! close_window; then
      echo "FAIL: $close_error" >&2
      status=1
    elif [ -n "$(printed stdout)$(printed stderr)" ]; then
      echo "FAIL: kelvaro printed something" >&2
      status=1
    fi
  fi
  # Whatever failed, what the program printed may say why (a sanitizer's
  # report comes as it exits).
  if [ "$status" -ne 0 ] && [ -s "$work/stdout" -o -s "$work/stderr" ]; then
    echo "kelvaro printed:" >&2
    cat "$work/stdout" "$work/stderr" 2>/dev/null | head -c 8000 >&2
  fi
  # The display's servers, and whatever else the test started.
  kill $(jobs -p) 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

# Stops the test; the last screenshot is kept as a PNG for a look.
fail() {
  echo "FAIL: $*" >&2
  if [ -f "$work/shot.ppm" ]; then
    local keep="${TMPDIR:-/tmp}/kelvaro-failed-$(basename "$0" .sh).png"
    convert "$work/shot.ppm" "$keep" && echo "last screenshot: $keep" >&2
  fi
  exit 1
}

# Starts the program at the top left of a fresh display (with no window
# manager freeglut would put it one pixel off-screen) and focuses it.
start_kelvaro() {
  [ -n "$xvfb_pid" ] || start_xvfb "$work" 1024x768x24 || fail "no X server"
  env ${KELVARO_PRELOAD:+LD_PRELOAD="$KELVARO_PRELOAD"} \
    "$KELVARO" -geometry +0+0 "$@" >"$work/stdout" 2>"$work/stderr" &
  pid=$!
  # A search at a time until the window is there: a window that goes
  # while a search walks the tree (Wine makes and drops some as it
  # starts) ends that search with an X error.
  local deadline=$((SECONDS + ${KELVARO_START_SECONDS:-10}))
  until win=$(xdotool search --onlyvisible --name '^Kelvaro$' 2>/dev/null | head -n 1) && [ -n "$win" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no window titled Kelvaro appeared within ${KELVARO_START_SECONDS:-10} s"
    sleep 0.05
  done
  # Asked again until it holds: under Weston, XWayland may have no window
  # focused yet, or Weston's own window manager focus the new window just
  # after, and xdotool's --sync gives up at once on a display with none.
  local focused=""
  until [ "$focused" = "$win" ]; do
    [ "$SECONDS" -lt "$deadline" ] ||
      fail "the window did not take the focus within ${KELVARO_START_SECONDS:-10} s (focused: ${focused:-none})"
    xdotool windowfocus "$win" 2>/dev/null || true
    sleep 0.05
    focused=$(xdotool getwindowfocus 2>/dev/null || true)
  done
  wait_for_frames
}

# Closes the window with a WM_DELETE_WINDOW message, as a window manager
# does, and waits for the program to end. Returns 1 with close_error set
# if it is still running after KELVARO_CLOSE_SECONDS or exits non-zero.
close_window() {
  local ticks=$((${KELVARO_CLOSE_SECONDS:-1} * 20)) status=0
  close_error=""
  "$WM_CLOSE" "$win"
  for ((i = 0; i < ticks; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    close_error="still running ${KELVARO_CLOSE_SECONDS:-1} s after the close"
  fi
  wait "$pid" || status=$?
  pid=""
  [ -z "$close_error" ] && [ "$status" -ne 0 ] && close_error="exit status $status"
  [ -z "$close_error" ]
}

# Types keys (xdotool key names) into the focused window and waits for a
# frame drawn after the program has taken them.
press() {
  xdotool key --delay 2 "$@"
  wait_for_frames 2
}

# Presses one key COUNT times.
press_times() {
  local count=$1 key=$2 keys=()
  for ((i = 0; i < count; i++)); do keys+=("$key"); done
  press "${keys[@]}"
}

# Resizes the window as a user dragging its corner would.
resize() {
  xdotool windowsize --sync "$win" "$1" "$2"
  wait_for_frames 2
}

# Takes a screenshot of the window into $work/shot.ppm and one pixel a
# line ("r g b") into $work/shot.pix; sets shot_w and shot_h.
shot() {
  xwd -id "$win" -silent >"$work/shot.xwd"
  convert "$work/shot.xwd" +set comment -depth 8 ppm:"$work/shot.ppm"
  read -r shot_w shot_h < <(sed -n 2p "$work/shot.ppm")
  tail -c $((shot_w * shot_h * 3)) "$work/shot.ppm" |
    od -An -v -tu1 -w3 >"$work/shot.pix"
}

# Prints the numbers that tests/pictures.txt gives under NAME: what the
# window should show, shared with the browser tests.
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

# Takes screenshots for up to SECONDS until CONDITION (a shell command)
# holds for one of them.
poll_shots() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  while [ "$SECONDS" -le "$deadline" ]; do
    shot
    if "$@"; then return 0; fi
  done
  return 1
}

# Asserts that A <= VALUE <= B.
expect_between() {
  local what=$1 value=$2 low=$3 high=$4
  [ "$value" -ge "$low" ] && [ "$value" -le "$high" ] ||
    fail "$what is $value, expected $low..$high"
}

# The colour's bounding box in the last screenshot is X0 Y0 X1 Y1, each
# side within the pictures' tolerance.
expect_box() {
  local what="$1: $2" want=("$3" "$4" "$5" "$6") got side tol
  tol=$(picture box.tolerance)
  read -r -a got < <(find_colour "$2")
  for side in 0 1 2 3; do
    expect_between "$what box[$side]" "${got[side + 1]}" \
      $((want[side] - tol)) $((want[side] + tol))
  done
}

# The ball is LOW..HIGH pixels wide and centred between C0 and C1 (x).
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
# pixels, and the picture fills it: the floor's box grows with the square
# of the scale, from its box in the first call, which must be at 96 DPI.
# The box, not the floor's pixels: the ball may be in front of the floor,
# but never in front of its outermost pixels. Each of the box's four
# edges may fall a pixel either way of where the scale puts it: so much
# may the area differ.
expect_scaled() {
  local dpi=$1 x0 y0 x1 y1 width height want_width want_height tolerance
  shot
  [ "$shot_w x $shot_h" = "$((300 * dpi / 96)) x $((400 * dpi / 96))" ] ||
    fail "at $dpi DPI the window is $shot_w x $shot_h"
  read -r _ x0 y0 x1 y1 < <(find_colour floor)
  width=$((x1 - x0 + 1)) height=$((y1 - y0 + 1))
  [ -n "${base_width:-}" ] || base_width=$width base_height=$height
  want_width=$((base_width * dpi / 96)) want_height=$((base_height * dpi / 96))
  tolerance=$((2 * (want_width + want_height) + 4))
  expect_between "at $dpi DPI the floor's box" $((width * height)) \
    $((want_width * want_height - tolerance)) $((want_width * want_height + tolerance))
}

# The program is still running.
expect_running() { kill -0 "$pid" 2>/dev/null || fail "kelvaro is no longer running"; }

# What the program printed on STREAM (stdout or stderr), less the lines
# that KELVARO_HARMLESS allows.
printed() {
  if [ -n "${KELVARO_HARMLESS:-}" ]; then
    grep -vEf "$KELVARO_HARMLESS" "$work/$1" || true
  else
    cat "$work/$1"
  fi
}

# The process printed nothing, on either stream.
expect_silent() {
  [ -z "$(printed stdout)" ] || fail "stdout: $(printed stdout | head -c 300)"
  [ -z "$(printed stderr)" ] || fail "stderr: $(printed stderr | head -c 300)"
}
