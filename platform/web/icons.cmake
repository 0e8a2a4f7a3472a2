# Draws the web page's icons from the desktop icon's SVG: PNGs of 192 and
# 512 pixels, and a maskable one of 512, whose drawing sits within the
# middle 80 % that a launcher's mask always shows, on a white ground that
# fills the square. Each is reduced to a palette of 32 colours, which
# keeps it a quarter of the size, and has no time stamp, so that builds
# are the same.
# Usage: cmake -DSVG=kelvaro.svg -DOUT=DIR -P icons.cmake
file(READ ${SVG} icon)
string(REPLACE "width=\"64\" height=\"64\" viewBox=\"0 0 64 64\""
               "width=\"90\" height=\"90\" viewBox=\"-13 -13 90 90\"" maskable "${icon}")
string(REPLACE "</title>" "</title>\n  <rect x=\"-13\" y=\"-13\" width=\"90\" height=\"90\" fill=\"#fff\"/>"
               maskable "${maskable}")
if(maskable STREQUAL icon)
  message(FATAL_ERROR "${SVG} is not 64 x 64 with a title, as the maskable icon expects")
endif()
file(WRITE ${OUT}/icon-maskable.svg "${maskable}")

function(draw svg size png)
  execute_process(
    COMMAND rsvg-convert -w ${size} -h ${size} ${svg}
    COMMAND convert - -strip -define png:exclude-chunks=date,time +dither -colors 32 PNG8:${png}
    RESULTS_VARIABLE results)
  if(NOT results STREQUAL "0;0")
    message(FATAL_ERROR "could not draw ${png}")
  endif()
endfunction()
draw(${SVG} 192 ${OUT}/icon-192.png)
draw(${SVG} 512 ${OUT}/icon-512.png)
draw(${OUT}/icon-maskable.svg 512 ${OUT}/icon-maskable.png)
file(REMOVE ${OUT}/icon-maskable.svg)
