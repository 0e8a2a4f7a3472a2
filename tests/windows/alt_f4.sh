# Alt+F4, as a Windows user closes a window, ends the program at once
# with status 0, having printed nothing it should not.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro
press plus x Up
xdotool key alt+F4
for ((i = 0; i < KELVARO_CLOSE_SECONDS * 20; i++)); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running ${KELVARO_CLOSE_SECONDS} s after Alt+F4"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Alt+F4"
expect_silent
