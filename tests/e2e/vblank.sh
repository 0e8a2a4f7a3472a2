# On a display that holds each swap until its next refresh (modelled by
# tests/tools/vblank.c), the program asks for swaps that do not wait,
# through whichever swap control GLX offers, and keeps its speed; where
# none is offered it asks nothing and runs as ever.
# Usage: bash vblank.sh KELVARO WM_CLOSE VBLANK FRAME_WATCH
. "$(dirname "$0")/../harness/e2e.sh"
VBLANK=${3:?usage: vblank.sh KELVARO WM_CLOSE VBLANK FRAME_WATCH}
FRAME_WATCH=${4:?usage: vblank.sh KELVARO WM_CLOSE VBLANK FRAME_WATCH}

# Starts the program on a display of HZ offering OFFER, whose vertical
# blank is there for 250 ms and gone for the next 250 (Xvfb as it is),
# by turns: the program is measured against itself, at the same moments.
# What it asks is written to $work/asked.
start_on() {
  : >"$work/asked"
  : >"$work/frames"
  KELVARO_PRELOAD="${KELVARO_PRELOAD:+$KELVARO_PRELOAD }$VBLANK" KELVARO_VBLANK_HZ=$1 \
    KELVARO_VBLANK_OFFER=$2 KELVARO_VBLANK_TURNS=250 KELVARO_VBLANK_LOG=$work/asked start_kelvaro
}

# Watches 3 s more and prints the ticks a second with the blank there as
# a share of those with it gone, over all the frames watched.
share_kept() {
  "$FRAME_WATCH" "$win" 3 >>"$work/frames"
  awk -f "$(dirname "$0")/../tools/blank_turns.awk" "$work/frames" |
    awk '{ printf "%.3f", $1 / $2 }'
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# Offered a swap control, the program asks for swaps that do not wait
# and keeps 0.95 of its ticks. On a busy machine the time between frames
# varies widely, and up to 18 s are watched to tell the share that well.
while IFS='|' read -r hz offer want; do
  start_on "$hz" "$offer"
  for ((watched = 3; watched <= 18; watched += 3)); do
    share=$(share_kept)
    [ "$watched" -lt 6 ] || ! at_least "$share" 0.95 || break
  done
  at_least "$share" 0.95 || fail "at $hz Hz offering $offer, the ball keeps $share of its ticks a second"
  [ "$(cat "$work/asked")" = "$want" ] || fail "at $hz Hz offering $offer, asked for: $(cat "$work/asked")"
  expect_silent
  close_window || fail "$close_error"
done <<'SETTINGS'
60|GLX_EXT_swap_control GLX_MESA_swap_control|glXSwapIntervalEXT 0
30|GLX_MESA_swap_control|glXSwapIntervalMESA 0
SETTINGS

# Nothing offered: nothing asked, each swap waits for the blank (the
# ball slows, as it always did there), and the picture and keys are as
# ever.
start_on 60 none
share=$(share_kept)
! at_least "$share" 0.95 || fail "nothing offered, yet the ball keeps $share of its ticks a second"
expect_start_view "nothing offered"
press_times 5 plus
expect_ball "nothing offered, radius 35" $(picture ball.radius35)
press r
expect_start_view "nothing offered, after r"
[ ! -s "$work/asked" ] || fail "asked, where nothing is offered: $(cat "$work/asked")"
