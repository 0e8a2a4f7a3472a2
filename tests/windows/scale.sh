# At each display scale, Windows' LogPixels 96, 144 and 192 (100, 150
# and 200 %), the window keeps its size on the screen and the picture
# fills it.
. "$(dirname "$0")/../harness/e2e.sh"

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
  # The floor's size at 100 % is what each scale grows.
  [ "$dpi" != 96 ] || read -r base_w base_h < <(shot && floor_size)
  expect_scaled "$dpi" "$base_w" "$base_h"
  close_window || fail "$close_error"
done
