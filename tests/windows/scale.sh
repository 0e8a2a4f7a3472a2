# At each display scale, the window keeps its size on the screen, in the
# screen's own pixels, and the picture fills it: Windows' LogPixels 96,
# 144 and 192 (100, 150 and 200 %) give a client area of 300 x 400,
# 450 x 600 and 600 x 800, and the floor's box grows with the square of
# the scale. The floor's box, not its pixels: the ball may be in front
# of the floor, but never in front of its outermost pixels.
. "$(dirname "$0")/../e2e/lib.sh"

# The scale as Windows' display settings keep it, read when Wine starts,
# in a copy of the tests' Wine prefix, which the other tests share.
cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -w
}

# A screen big enough for the window at 200 %: Windows keeps a window
# within its screen.
start_xvfb "$work" 1280x1024x24 || fail "no X server"
for dpi in 96 144 192; do
  set_dpi "$dpi"
  start_kelvaro
  shot
  [ "$shot_w x $shot_h" = "$((300 * dpi / 96)) x $((400 * dpi / 96))" ] ||
    fail "at $dpi DPI the window is $shot_w x $shot_h"
  read -r _ x0 y0 x1 y1 < <(find_colour floor)
  width=$((x1 - x0 + 1)) height=$((y1 - y0 + 1))
  [ "$dpi" != 96 ] || base_width=$width base_height=$height
  # Each of the box's four edges may fall a pixel either way of where
  # the scale puts it: so much may the area differ.
  want_width=$((base_width * dpi / 96)) want_height=$((base_height * dpi / 96))
  tolerance=$((2 * (want_width + want_height) + 4))
  expect_between "at $dpi DPI the floor's box" $((width * height)) \
    $((want_width * want_height - tolerance)) $((want_width * want_height + tolerance))
  close_window || fail "$close_error"
done
