# The browser as the platform, with Emscripten: WebGL, and GLUT, the
# fixed-function pipeline and gluPerspective of our own (glut.h), on
# Emscripten's html5.h and emscripten.h.
set(web_dir ${CMAKE_CURRENT_LIST_DIR})
# The page's own files; page/contract.md says what it and the program
# hand each other.
set(page_dir ${web_dir}/page)

add_library(kelvaro_platform STATIC
  ${web_dir}/glut.cpp ${web_dir}/window.cpp ${web_dir}/key_table.cpp
  ${web_dir}/fixed_function.cpp ${web_dir}/matrix.cpp ${web_dir}/wire_sphere.cpp)
target_include_directories(kelvaro_platform PUBLIC ${PROJECT_SOURCE_DIR})
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
  -sMALLOC=emmalloc -sJS_MATH -sTEXTDECODER=2 -sDYNAMIC_EXECUTION=0
  -sGL_TRACK_ERRORS=0 -sGL_POOL_TEMP_BUFFERS=0 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  "SHELL:--pre-js ${web_dir}/module.js")
target_link_options(kelvaro_platform INTERFACE ${web_options})
set_property(TARGET kelvaro_platform APPEND PROPERTY INTERFACE_LINK_DEPENDS ${web_dir}/module.js)

# Emscripten's JS optimizer needs acorn, which Debian keeps where only
# Debian's own node looks for it.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()

# The site is the build folder: the program's script and, beside it, our
# page with its style, its scripts and its web app manifest, the desktop
# icon and PNGs drawn from it, the licence that the page's footer links
# to, and the service worker made for them all.
foreach(file kelvaro.css page.js kelvaro.webmanifest)
  configure_file(${page_dir}/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
# The page has its version, and start.js written into it with the hash
# by which its CSP allows it.
# Node, which Emscripten runs on, gives the hash as CSP writes it.
find_program(NODE_JS NAMES nodejs node REQUIRED)
file(READ ${page_dir}/start.js KELVARO_START_JS)
execute_process(
  COMMAND ${NODE_JS} -e "const {createHash} = require('crypto');
    process.stdout.write(createHash('sha256').update(require('fs').readFileSync(process.argv[1])).digest('base64'))"
    ${page_dir}/start.js
  OUTPUT_VARIABLE KELVARO_START_HASH COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page_dir}/start.js)
configure_file(${page_dir}/kelvaro.html ${CMAKE_BINARY_DIR}/kelvaro.html @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/kelvaro.svg ${CMAKE_BINARY_DIR}/kelvaro.svg COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt COPYONLY)

# Adds the icons and the service worker to the site of TARGET (the
# program's script), and installs the site: `cmake --install` gives the
# folder to put on a static host.
function(kelvaro_web_site target)
  set(icons icon-192.png icon-512.png icon-maskable.png)
  add_custom_command(OUTPUT ${icons}
    COMMAND ${CMAKE_COMMAND} -DSVG=${PROJECT_SOURCE_DIR}/data/kelvaro.svg
            -DOUT=${CMAKE_BINARY_DIR} -P ${web_dir}/icons.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/data/kelvaro.svg ${web_dir}/icons.cmake VERBATIM)
  set(files kelvaro.html kelvaro.css page.js $<TARGET_FILE_NAME:${target}> kelvaro.svg
            kelvaro.webmanifest ${icons} LICENSE.txt)
  list(TRANSFORM files PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE paths)
  add_custom_command(OUTPUT sw.js
    COMMAND ${CMAKE_COMMAND} -DSITE=${CMAKE_BINARY_DIR} "-DFILES=$<JOIN:${files},,>"
            -DTEMPLATE=${page_dir}/sw.js.in -P ${web_dir}/worker.cmake
    DEPENDS ${target} ${paths} ${page_dir}/sw.js.in ${web_dir}/worker.cmake VERBATIM)
  add_custom_target(${target}_site ALL DEPENDS sw.js)
  install(FILES ${paths} ${CMAKE_BINARY_DIR}/sw.js DESTINATION .)
endfunction()
