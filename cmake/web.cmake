# The web build: the same libraries as the desktop's, the browser backend, and a site of
# static files (the page and its scripts, glimmo.js, glimmo.wasm, the manifest and its
# icons, the service worker) in GLIMMO_WEB_SITE.
set(GLIMMO_WEB_SITE "${CMAKE_SOURCE_DIR}/build/web" CACHE PATH "Where the web page and its files are put")
# Emscripten's JavaScript optimiser needs Debian's acorn, which a node from elsewhere does not look for.
if(EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
set(BUILD_TESTING OFF)
set(GLIMMO_BENCH OFF)

# The page of our own and the icons, beside the program's .js and .wasm.
function(add_web_page_files)
  foreach(file index.html hints.js touch.js gamepad.js offline.js sw.js manifest.webmanifest)
    configure_file(${CMAKE_SOURCE_DIR}/platform/web/page/${file} ${GLIMMO_WEB_SITE}/${file} COPYONLY)
  endforeach()
  configure_file(${CMAKE_SOURCE_DIR}/res/glimmo-128.png ${GLIMMO_WEB_SITE}/favicon.png COPYONLY)
  foreach(icon glimmo-192.png glimmo-512.png glimmo-maskable-512.png)
    configure_file(${CMAKE_SOURCE_DIR}/res/${icon} ${GLIMMO_WEB_SITE}/${icon} COPYONLY)
  endforeach()
endfunction()
