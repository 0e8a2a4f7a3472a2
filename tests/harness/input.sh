# A person's input, each followed by a frame drawn after the program took it.

# Types keys (xdotool key names) into the focused window.
press() {
  xdotool key --delay 2 "$@"
  wait_for_frames 2
}

# Presses one key COUNT times: press_times COUNT KEY.
press_times() {
  local count=$1 key=$2 keys=()
  for ((i = 0; i < count; i++)); do keys+=("$key"); done
  press "${keys[@]}"
}

# Resizes the window as a user dragging its corner would: resize W H.
resize() {
  xdotool windowsize --sync "$win" "$1" "$2"
  wait_for_frames 2
}
