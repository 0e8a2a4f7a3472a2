# A storm of about a thousand random keys, listed and unlisted, between
# resizes down to 1 x 1 and back. Afterwards the program still runs and
# animates, and "r", Home and the original size give the start picture.
# KELVARO_STORM_SEED repeats a run; the seed is printed on failure.
. "$(dirname "$0")/../harness/e2e.sh"

seed=${KELVARO_STORM_SEED:-$$}
RANDOM=$seed
keys=(Up Down Left Right Home F2 plus minus r R x z a
  F1 F5 F12 Page_Up Page_Down End Insert A X Z q space Escape Return 1 Tab)
declare -A pressed=([Up]=0 [Down]=0 [Left]=0 [Right]=0)

start_kelvaro
for ((burst = 0; burst < 20; burst++)); do
  batch=()
  for ((i = 0; i < 50; i++)); do
    key=${keys[RANDOM % ${#keys[@]}]}
    batch+=("$key")
    [ -z "${pressed[$key]+set}" ] || pressed[$key]=$((pressed[$key] + 1))
  done
  xdotool key --delay 0 "${batch[@]}"
  case $((burst % 4)) in
    0) xdotool windowsize "$win" 1 1 ;;
    1) xdotool windowsize "$win" $((1 + RANDOM % 600)) $((1 + RANDOM % 600)) ;;
    2) xdotool windowsize "$win" 1 $((1 + RANDOM % 600)) ;;
    3) xdotool windowsize "$win" 300 400 ;;
  esac
done
expect_running

# Undo the net turn of the arrows (angles wrap, so modulo a full circle),
# then restore size and place and restart the drop.
tilt=$(((pressed[Down] - pressed[Up]) % 72))
turn=$(((pressed[Right] - pressed[Left]) % 72))
[ "$tilt" -gt 0 ] && press_times "$tilt" Up
[ "$tilt" -lt 0 ] && press_times $((-tilt)) Down
[ "$turn" -gt 0 ] && press_times "$turn" Left
[ "$turn" -lt 0 ] && press_times $((-turn)) Right
resize 300 400
press r Home
expect_running
wait_for_frames
expect_start_view "after the storm (seed $seed)"
