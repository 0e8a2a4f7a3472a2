# On a Wayland desktop, through XWayland: Weston on the test's Xvfb
# (scripts/lib/displays.sh). The start-up picture, the window's names as
# the desktop reads them, a key typed on the desktop's keyboard, a
# resize, and the close as the desktop does it, after which the program
# exits with 0 having printed nothing.
. "$(dirname "$0")/../harness/e2e.sh"

start_xvfb "$work" 1280x1024x24 || fail "no X server"
# Keys are typed on the keyboard of the display Weston runs on, its seat.
desktop=$DISPLAY
start_weston "$work" || fail "no Weston"
start_kelvaro
expect_start_view "under Weston"
expect_desktop_names "under Weston"
# The key goes through Weston and XWayland: the picture shows it once
# it has arrived.
DISPLAY=$desktop xdotool key a
poll_shots 5 companion_shown || fail "under Weston, a shows no companion within 5 s"
resize 400 300
shot
[ "$shot_w x $shot_h" = "400 x 300" ] || fail "under Weston, resized to $shot_w x $shot_h"
[ "$(count_colour floor)" -gt 0 ] || fail "under Weston, no floor after the resize"
