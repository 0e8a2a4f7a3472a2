# The browser as the platform, with Emscripten: its GLUT and WebGL. What
# they lack (the fixed-function pipeline, gluPerspective, glutWireSphere)
# or get wrong is made good by the files beside this one.
set(web_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(kelvaro_platform STATIC
  ${web_dir}/fixed_function.cpp ${web_dir}/matrix.cpp ${web_dir}/wire_sphere.cpp)
target_include_directories(kelvaro_platform PUBLIC ${PROJECT_SOURCE_DIR})
set(web_libraries keys controls canvas context failure)
set(web_scripts ${web_dir}/module.js)
set(web_options
  -sENVIRONMENT=web -sFILESYSTEM=0
  # One file: the wasm goes into the script, so that the page also runs
  # opened from the file system, where the browser lets a page fetch
  # nothing. It is compiled at once, as the script runs: it is small, and
  # the runtime's later compile would fetch it from a data: URL, which
  # the page's CSP refuses.
  -sSINGLE_FILE -sWASM_ASYNC_COMPILATION=0
  # The least that the program needs: a small malloc, the browser's own
  # Math (the wasm is half the size without musl's), no GL error
  # tracking, no extension switched on that is not asked for, nothing
  # that evaluates strings (the page's CSP forbids it).
  -sMALLOC=emmalloc -sJS_MATH -sSUPPORT_ERRNO=0 -sTEXTDECODER=2 -sDYNAMIC_EXECUTION=0
  -sGL_TRACK_ERRORS=0 -sGL_POOL_TEMP_BUFFERS=0 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  "SHELL:--pre-js ${web_dir}/module.js")
foreach(library ${web_libraries})
  list(APPEND web_scripts ${web_dir}/${library}.js)
  list(APPEND web_options "SHELL:--js-library ${web_dir}/${library}.js")
endforeach()
target_link_options(kelvaro_platform INTERFACE ${web_options})
set_property(TARGET kelvaro_platform APPEND PROPERTY INTERFACE_LINK_DEPENDS ${web_scripts})

# Emscripten's JS optimizer needs acorn, which Debian keeps where only
# Debian's own node looks for it.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()

# The page is ours; the icon is the desktop one; the page's footer links
# to the licence.
foreach(file kelvaro.html kelvaro.css page.js)
  configure_file(${web_dir}/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/data/kelvaro.svg ${CMAKE_BINARY_DIR}/kelvaro.svg COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt COPYONLY)
