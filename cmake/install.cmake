# Install rules beside the executables' own: the menu entry, the icons, the manual pages,
# the README and what it links to, where desktops, man and packagers look for them under
# the prefix. Both programs go to games/ (/usr/games in the package), as Debian keeps a
# game and what comes with it apart from other programs.
include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME glimmo.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.github.glimmo.glimmo.metainfo.xml)

# The manual pages compressed, as man reads them and packages ship them: gzip -n keeps
# no name or time, so the same page gives the same bytes. Made when configuring, so that
# an install needs nothing built but the programs.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
foreach(page glimmo.6 glimmo-modplay.1)
  set(text ${CMAKE_SOURCE_DIR}/docs/${page})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${text})
  execute_process(COMMAND gzip -9nc ${text} OUTPUT_FILE ${CMAKE_BINARY_DIR}/man/${page}.gz COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCH "[0-9]$" section ${page})
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# The README where the license is the copyright file (below, in package.cmake), with the
# documents and the screenshot it links to beside it.
file(READ ${CMAKE_SOURCE_DIR}/README.md readme)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
string(REPLACE "](LICENSE)" "](copyright)" readme "${readme}")
file(WRITE ${CMAKE_BINARY_DIR}/doc/README.md "${readme}")
install(FILES ${CMAKE_BINARY_DIR}/doc/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/docs/quirks.md ${CMAKE_SOURCE_DIR}/docs/replays.md
              ${CMAKE_SOURCE_DIR}/docs/layers.md ${CMAKE_SOURCE_DIR}/docs/web_page.md ${CMAKE_SOURCE_DIR}/docs/screenshot.png
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

# A stripped install (cmake --install --strip, or cpack) also drops the compiler's notes
# that strip keeps, as Debian's own packaging does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program glimmo glimmo-modplay)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/\${program}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
