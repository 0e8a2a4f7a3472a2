# RSS over a soak run, from "seconds MiB" lines.
# Usage: gnuplot -c rss.gp OUT.svg DATA
set terminal svg size 720,360 dynamic font 'sans,13' background '#ffffff'
set output ARG1
set xlabel 'time since start (s)'
set ylabel 'resident memory (MiB)'
set yrange [0:*]
set grid
set key off
plot ARG2 using 1:2 with linespoints linewidth 2 pointtype 7 pointsize 0.6
