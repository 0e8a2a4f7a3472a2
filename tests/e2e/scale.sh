# At each desktop scale, as an X11 desktop gives it in the Xft.dpi
# resource (none, 96, 144 and 192: 100, 150 and 200 %), the window is
# sized in the screen's own pixels and the picture fills it.
. "$(dirname "$0")/lib.sh"

# A screen that holds the window at 200 %.
start_xvfb "$work" 1280x1024x24 || fail "no X server"
for dpi in none 96 144 192; do
  [ "$dpi" = none ] || echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
  start_kelvaro
  expect_scaled "${dpi/none/96}"
  close_window || fail "$close_error"
done
