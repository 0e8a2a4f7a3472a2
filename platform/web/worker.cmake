# Writes the service worker (sw.js.in) for the web page's files: each
# file's SHA-256, and a cache name made from them all.
# Usage: cmake -DSITE=DIR -DFILES=a,b,c -DTEMPLATE=sw.js.in -P worker.cmake
string(REPLACE "," ";" FILES "${FILES}")
set(entries "")
set(all "")
foreach(file ${FILES})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND entries "  '${file}': '${hash}',\n")
  string(APPEND all "${file} ${hash}\n")
endforeach()
string(SHA256 site_hash "${all}")
string(SUBSTRING ${site_hash} 0 16 KELVARO_SITE_HASH)
string(REGEX REPLACE ",\n$" "," KELVARO_SITE_FILES "${entries}")
string(REGEX REPLACE "\n$" "" KELVARO_SITE_FILES "${KELVARO_SITE_FILES}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
