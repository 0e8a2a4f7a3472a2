# Closing the window as a window manager does ends the program at once
# with status 0, and the program printed nothing during the whole run.
. "$(dirname "$0")/lib.sh"

start_kelvaro
press a Up Left x plus minus r Home F2 F1 Page_Up q Escape
sleep 0.5
"$WM_CLOSE" "$win"
for ((i = 0; i < 20; i++)); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running a second after the close"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
expect_silent
