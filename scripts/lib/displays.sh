# Sourced: private displays for the tests, the recording and the
# benchmark, each started into a folder of the caller's and ended with
# the caller's own jobs. Each exports DISPLAY as the display it made.

# start_xvfb DIR WxHxDEPTH starts a private Xvfb. -displayfd lets the
# server pick a free display number, so several runs never collide.
# -noreset keeps the server as it is when its last client leaves: a
# reset drops every client still connecting, as the program starting up
# may be just as a screenshot's client ends.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp -noreset 3>"$1/display" 2>"$1/xvfb.log" &
  local display
  display=$(first_output head -n 1 "$1/display") ||
    { echo "Xvfb did not start within 10 s: $(cat "$1/xvfb.log")" >&2; return 1; }
  export DISPLAY=":$display"
}

# start_weston DIR starts a Wayland desktop: Weston, drawing with pixman,
# as a window on the current display, with XWayland for X11 programs.
# Its X11 backend makes the current display's keyboard its seat (its
# headless backend has none, so no window there is given a key); its
# window is focused, so keys typed on the current display reach the
# window that Weston focuses. Weston exports XWayland's display as
# DISPLAY to the programs it starts (weston(1)), so the one that its
# weston.ini starts once it is up (autolaunch) writes it down.
start_weston() {
  mkdir -m 700 "$1/runtime"
  printf '#!/bin/sh\necho "$DISPLAY" >"%s.new" && mv "%s.new" "%s"\n' \
    "$1/xwayland" "$1/xwayland" "$1/xwayland" >"$1/say-display"
  chmod +x "$1/say-display"
  printf '[autolaunch]\npath=%s\n' "$1/say-display" >"$1/weston.ini"
  XDG_RUNTIME_DIR=$1/runtime weston --config="$1/weston.ini" --backend=x11-backend.so --use-pixman \
    --xwayland --width=1024 --height=900 --log="$1/weston.log" >/dev/null 2>&1 &
  local xwayland output
  xwayland=$(first_output cat "$1/xwayland") ||
    { echo "Weston offered no X server within 10 s: $(cat "$1/weston.log" 2>/dev/null)" >&2; return 1; }
  output=$(timeout 10 xdotool search --sync --onlyvisible --classname '^weston' | head -n 1) &&
    timeout 10 xdotool windowfocus --sync "$output" ||
    { echo "Weston's window did not appear or take the focus within 10 s" >&2; return 1; }
  export DISPLAY=$xwayland
}

# Prints what COMMAND prints once it prints anything, trying every 0.1 s
# for up to 10 s; fails if it never does.
first_output() {
  local tries said
  for ((tries = 0; tries < 100; tries++)); do
    said=$("$@" 2>/dev/null || true)
    [ -z "$said" ] || { echo "$said"; return 0; }
    sleep 0.1
  done
  return 1
}
