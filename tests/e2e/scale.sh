# At each desktop scale, as an X11 desktop gives it in the Xft.dpi
# resource (none, 96, 144 and 192: 100, 150 and 200 %), the window is
# sized in the screen's own pixels and the picture fills it.
. "$(dirname "$0")/../harness/e2e.sh"

# A screen that holds the window at 200 %.
start_xvfb "$work" 1280x1024x24 || fail "no X server"
for dpi in none 96 144 192; do
  [ "$dpi" = none ] || echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
  start_kelvaro
  # The floor's size with no scale set is what each scale grows.
  [ "$dpi" != none ] || read -r base_w base_h < <(shot && floor_size)
  expect_scaled "${dpi/none/96}" "$base_w" "$base_h"
  close_window || fail "$close_error"
done
