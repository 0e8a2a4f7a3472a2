# Sourced: start_xvfb DIR WxHxDEPTH starts a private Xvfb, writing into
# DIR, sets xvfb_pid and exports DISPLAY. -displayfd lets the server pick
# a free display number, so several runs never collide. -noreset keeps
# the server as it is when its last client leaves: a reset drops every
# client still connecting, as the program starting up may be just as a
# screenshot's client ends.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp -noreset 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  local tries=0
  until [ -s "$1/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "Xvfb did not start: $(cat "$1/xvfb.log")" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$1/display")"
}
