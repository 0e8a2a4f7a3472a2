# Windows as the platform, cross-built with MinGW-w64 (scripts/windows.sh):
# freeglut is linked in statically, so that the program is one .exe that
# needs only DLLs every Windows has.
set(windows_dir ${CMAKE_CURRENT_LIST_DIR})
enable_language(RC)

find_package(FreeGLUT CONFIG REQUIRED)
find_package(OpenGL REQUIRED)
add_library(kelvaro_platform STATIC ${windows_dir}/unsync_swaps.cpp ${windows_dir}/display_scale.cpp)
target_include_directories(kelvaro_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kelvaro_platform PUBLIC
  FreeGLUT::freeglut_static OpenGL::GLU OpenGL::GL)

# The icon, drawn from the desktop's SVG at the sizes Windows shows.
set(icon_sizes 16 20 24 32 40 48 64 128 256)
set(icon_pngs "")
foreach(size ${icon_sizes})
  add_custom_command(OUTPUT icon-${size}.png
    COMMAND rsvg-convert -w ${size} -h ${size} -o icon-${size}.png
            ${PROJECT_SOURCE_DIR}/data/kelvaro.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/data/kelvaro.svg)
  list(APPEND icon_pngs icon-${size}.png)
endforeach()
add_custom_command(OUTPUT kelvaro.ico
  COMMAND convert ${icon_pngs} kelvaro.ico
  DEPENDS ${icon_pngs})
configure_file(${windows_dir}/kelvaro.rc.in kelvaro.rc @ONLY)

# Makes TARGET what a Windows user expects of a program: a GUI program
# that opens no console, with its icon and version information and the
# C and C++ runtimes linked in; and packs it into a zip.
function(kelvaro_windows_program target)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/kelvaro.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/kelvaro.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/kelvaro.ico;${windows_dir}/kelvaro.manifest")
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  # No build time in the PE header, so that the same sources give the
  # same .exe.
  target_link_options(${target} PRIVATE -static -Wl,--no-insert-timestamp)

  # The zip: the program, its licence and freeglut's, and a README.
  find_file(FREEGLUT_LICENSE COPYING PATHS ${FreeGLUT_DIR}/../../../share/doc/freeglut
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(TARGETS ${target} RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES ${FREEGLUT_LICENSE} DESTINATION . RENAME freeglut-LICENSE.txt)
  install(FILES ${windows_dir}/README.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME kelvaro-${PROJECT_VERSION}-windows-x86_64)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
endfunction()
