# The program under test, started on the test's display, closed as a
# window manager closes it, and heard from; sets pid and win. The
# environment: KELVARO_PRELOAD, preloaded into it (the sanitizer build
# keeps Mesa's driver loaded that way); KELVARO_START_SECONDS and
# KELVARO_CLOSE_SECONDS, how long its window may take to appear (10) and
# to close (1); KELVARO_HARMLESS, a file of patterns (grep -E) for lines
# it may print (the Windows build's freeglut prints two under Wine).
pid=""
win=""

# Starts the program at the top left of the display (a fresh Xvfb if the
# test started none; with no window manager freeglut would put it one
# pixel off-screen) and focuses it.
start_kelvaro() {
  [ -n "${DISPLAY:-}" ] || start_xvfb "$work" 1024x768x24 || fail "no X server"
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

# The window carries what a desktop reads of it: its class, the
# program's own process, and its icon at each size that desktops draw,
# the 32-pixel one as the desktop icon drawn at that size (the build
# draws it with the same tools): expect_desktop_names WHAT.
expect_desktop_names() {
  local said svg size
  said=$(xprop -id "$win" WM_CLASS _NET_WM_PID)
  [ "$said" = $'WM_CLASS(STRING) = "kelvaro", "Kelvaro"\n_NET_WM_PID(CARDINAL) = '"$pid" ] ||
    fail "$1: the window says $said; the program is $pid"
  xprop -id "$win" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= *//' | tr ', ' '\n\n' | grep . >"$work/icon"
  svg=$(dirname "${BASH_SOURCE[0]}")/../../data/kelvaro.svg
  rsvg-convert -w 32 -h 32 "$svg" | convert png:- -depth 8 rgba:- | od -An -v -tu1 -w4 >"$work/icon.32"
  said=$(awk -v want="$work/icon.32" '
    NR == next_size { size = $1; sizes = sizes " " size; at = NR + 2; next_size = at + size * size; next }
    NR >= at && size == 32 { getline rgba <want; split(rgba, c, " ")
      if ($1 != ((c[4] * 256 + c[1]) * 256 + c[2]) * 256 + c[3]) wrong++ }
    BEGIN { next_size = 1 } END { print substr(sizes, 2) (wrong ? "; 32: " wrong " pixels not the icon" : "") }' "$work/icon")
  for size in 16 32 48 64 128; do
    [[ " $said " == *" $size "* && $said != *";"* ]] || fail "$1: the window's icons: $said"
  done
}

# What the program printed on STREAM (stdout or stderr), less the lines
# that KELVARO_HARMLESS allows.
printed() {
  if [ -n "${KELVARO_HARMLESS:-}" ]; then
    grep -vEf "$KELVARO_HARMLESS" "$work/$1" || true
  else
    cat "$work/$1"
  fi
}

# The program is still running.
expect_running() { kill -0 "$pid" 2>/dev/null || fail "kelvaro is no longer running"; }

# The program printed nothing, on either stream.
expect_silent() {
  [ -z "$(printed stdout)" ] || fail "stdout: $(printed stdout | head -c 300)"
  [ -z "$(printed stderr)" ] || fail "stderr: $(printed stderr | head -c 300)"
}

# However a test ends, the program still running is closed, and the test
# fails unless it exits with 0 having printed nothing. On a failure, what
# the program printed may say why (a sanitizer's report comes as it
# exits), and the last screenshot is kept as a PNG for a look.
end_test() {
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
  if [ "$status" -ne 0 ]; then
    if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then
      echo "kelvaro printed:" >&2
      cat "$work/stdout" "$work/stderr" 2>/dev/null | head -c 8000 >&2
    fi
    local keep="${TMPDIR:-/tmp}/kelvaro-failed-$(basename "$0" .sh).png"
    [ ! -f "$work/shot.ppm" ] || ! convert "$work/shot.ppm" "$keep" || echo "last screenshot: $keep" >&2
  fi
  # The display's servers, and whatever else the test started.
  kill $(jobs -p) 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
  exit "$status"
}
