# Writes the page's service worker with its build's name: a hash of the page's files (the
# worker's own source among them), so that each build keeps its files in a cache of its own.
# Usage: cmake -DSOURCE=sw.js -DOUTPUT=build-web/sw.js -DFILES=a,b,... -P stamp_build.cmake
string(REPLACE "," ";" files "${FILES}")
set(hashes "")
foreach(file ${SOURCE} ${files})
  file(SHA256 ${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 build "${hashes}")
string(SUBSTRING ${build} 0 16 VK_BUILD)
configure_file(${SOURCE} ${OUTPUT} @ONLY)
