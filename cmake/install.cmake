# Install rules beside the executables' own: the menu entry, the icons, the manual pages
# and the license, where desktops, man and packagers look for them under the prefix.
include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME glimmo.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/docs/glimmo.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/docs/glimmo-modplay.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/res/glimmo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.github.glimmo.glimmo.metainfo.xml)
