# Closing the window as a window manager does ends the program at once
# with status 0, and the program printed nothing during the whole run.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro
press a Up Left x plus minus r Home F2 F1 Page_Up q Escape
close_window || fail "$close_error"
expect_silent
