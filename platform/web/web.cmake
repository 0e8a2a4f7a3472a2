# The browser as the platform, with Emscripten: its GLUT and WebGL. What
# they lack (the fixed-function pipeline, gluPerspective, glutWireSphere)
# or get wrong is made good by the files beside this one.
set(web_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(kelvaro_platform STATIC
  ${web_dir}/fixed_function.cpp ${web_dir}/matrix.cpp ${web_dir}/wire_sphere.cpp)
target_include_directories(kelvaro_platform PUBLIC ${PROJECT_SOURCE_DIR})
set(web_libraries keys controls canvas context)
set(web_scripts ${web_dir}/module.js)
set(web_options -sMALLOC=emmalloc -sJS_MATH -sGL_TRACK_ERRORS=0 -sGL_POOL_TEMP_BUFFERS=0 -sTEXTDECODER=2 -sDYNAMIC_EXECUTION=0 -sSUPPORT_ERRNO=0 -sENVIRONMENT=web -sFILESYSTEM=0 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
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
configure_file(${web_dir}/kelvaro.html ${CMAKE_BINARY_DIR}/kelvaro.html COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/kelvaro.svg ${CMAKE_BINARY_DIR}/kelvaro.svg COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt COPYONLY)
