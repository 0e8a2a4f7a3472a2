# The distribution of gaps between frames or ticks, one curve a run: the
# share of gaps (%) at most as long as x.
# Usage: gnuplot -c cdf.gp OUT.svg XLABEL XMIN XMAX "FILE ..."
# where each FILE has a header line (gap "TITLE") and then "gap share"
# lines, sorted by gap.
set terminal svg size 720,400 dynamic font 'sans,13' background '#ffffff'
set output ARG1
set xlabel ARG2
set ylabel 'share of gaps at most that long (%)'
set xrange [ARG3 + 0:ARG4 + 0]
set yrange [0:100]
set grid
set key right center
plot for [file in ARG5] file using 1:2 with steps linewidth 2 title columnheader(2)
