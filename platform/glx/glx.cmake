# An X11 desktop as the platform: freeglut, GLU and GL with GLX, and the
# window made as the desktop wants it (created_window.h): at its scale,
# with swaps that do not wait, and named with its class, process and icon.
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(GLUT REQUIRED)
find_package(X11 REQUIRED)
set(glx_dir ${CMAKE_CURRENT_LIST_DIR})

# The window's icon, drawn from the desktop icon at the sizes desktops
# draw it at, as the Windows build draws its own.
set(icon_header ${CMAKE_BINARY_DIR}/generated/platform/glx/window_icon_pixels.h)
add_custom_command(OUTPUT ${icon_header}
  COMMAND ${CMAKE_COMMAND} -DSVG=${PROJECT_SOURCE_DIR}/data/kelvaro.svg -DSIZES=16,24,32,48,64,128
          -DOUT=${icon_header} -P ${glx_dir}/window_icon.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/data/kelvaro.svg ${glx_dir}/window_icon.cmake VERBATIM)

add_library(kelvaro_platform STATIC ${glx_dir}/unsync_swaps.cpp ${glx_dir}/display_scale.cpp
                                    ${glx_dir}/window_identity.cpp ${icon_header})
target_include_directories(kelvaro_platform PUBLIC ${PROJECT_SOURCE_DIR}
                           PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(kelvaro_platform PUBLIC GLUT::GLUT OpenGL::GLU OpenGL::GL OpenGL::GLX
                                              X11::X11)
