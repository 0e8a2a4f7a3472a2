# Draws the window's icon from the desktop icon's SVG at each size that
# desktops draw a window's icon at, into a header of RGBA pixels that the
# program carries, so that it reads no file.
# Usage: cmake -DSVG=kelvaro.svg -DSIZES=16,32 -DOUT=window_icon_pixels.h -P window_icon.cmake
string(REPLACE "," ";" SIZES "${SIZES}")
get_filename_component(out_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
set(pixels "")
foreach(size ${SIZES})
  execute_process(
    COMMAND rsvg-convert -w ${size} -h ${size} ${SVG}
    COMMAND convert png:- -depth 8 rgba:${OUT}.rgba
    RESULTS_VARIABLE results)
  if(NOT results STREQUAL "0;0")
    message(FATAL_ERROR "could not draw the window's icon at ${size} pixels")
  endif()
  file(READ ${OUT}.rgba hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REPEAT "0x..," 16 row)
  string(REGEX REPLACE "(${row})" "\\1\n" hex "${hex}")
  string(APPEND pixels "// ${size} x ${size}\n${hex}\n")
endforeach()
file(REMOVE ${OUT}.rgba)
string(REPLACE ";" ", " sizes "${SIZES}")
file(WRITE ${OUT} "// Drawn from data/kelvaro.svg by platform/glx/window_icon.cmake.
#pragma once

// The sizes, square, smallest first; the pixels of each in turn, rows
// from the top, red, green, blue and alpha.
constexpr int windowIconSizes[] = {${sizes}};
constexpr unsigned char windowIconPixels[] = {
${pixels}};
")
