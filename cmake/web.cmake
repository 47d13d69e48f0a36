# The web build: the same libraries as the desktop's, the browser backend, and a site of
# static files (the page, glimmo.js, glimmo.wasm, the icon) in GLIMMO_WEB_SITE.
set(GLIMMO_WEB_SITE "${CMAKE_SOURCE_DIR}/build/web" CACHE PATH "Where the web page and its files are put")
# Emscripten's JavaScript optimiser needs Debian's acorn, which a node from elsewhere does not look for.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
set(BUILD_TESTING OFF)
set(GLIMMO_BENCH OFF)

# The page of our own and the icon, beside the program's .js and .wasm.
function(add_web_page_files)
  configure_file(${CMAKE_SOURCE_DIR}/platform/web/page/index.html ${GLIMMO_WEB_SITE}/index.html COPYONLY)
  configure_file(${CMAKE_SOURCE_DIR}/res/glimmo-128.png ${GLIMMO_WEB_SITE}/favicon.png COPYONLY)
endfunction()
