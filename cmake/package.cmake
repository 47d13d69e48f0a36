# The Debian package: `cpack -G DEB` in a build folder makes glimmo_<version>_<arch>.deb
# from the install rules, with its dependencies worked out by dpkg-shlibdeps.
include(GNUInstallDirs)

# The copyright file Debian wants in every package, in its machine-readable form, with the
# license's own text indented as that form asks (an empty line becomes " .").
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license_text)
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text "${license_text}")
file(WRITE ${CMAKE_BINARY_DIR}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: ${PROJECT_NAME}\n"
     "Upstream-Contact: The Glimmo developers\n\n"
     "Files: *\n"
     "Copyright: 2026 The Glimmo developers\n"
     "License: MIT\n\n"
     "License: MIT\n ${license_text}\n")
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Glimmo developers")
set(CPACK_PACKAGE_CONTACT "The Glimmo developers <glimmo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maze-chase arcade game: eat the dots, dodge the ghosts")
set(CPACK_PACKAGE_DESCRIPTION
    "A round figure eats 244 dots in a fixed maze while four ghosts hunt it; energisers\n\
turn the tables. Fruit, lives, 21 levels and three scenes between them, with the\n\
game's own sounds and music, made for a small keypad phone and played here exactly as\n\
it was there, in a window scaled up with crisp pixels.\n\
\n\
Also glimmo-modplay, which plays or renders four-channel tracker modules.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # glimmo_1.0.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://glimmo.github.io/")
include(CPack)
