# Reads the times (µs) at which frame_watch saw a program's frames on
# tests/tools/vblank.c with KELVARO_VBLANK_TURNS=250, and prints its ticks
# a second with the vertical blank there, then with it gone: a million
# over the mean time between two frames of the same turn (each tick is
# one frame).
NR > 1 && int($1 / 250000) == int(last / 250000) {
  blank = int($1 / 250000) % 2 == 0
  time[blank] += $1 - last
  frames[blank]++
}
{ last = $1 }
END { printf "%.1f %.1f\n", frames[1] * 1e6 / time[1], frames[0] * 1e6 / time[0] }
