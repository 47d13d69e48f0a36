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

# Who answers for the package. A placeholder until the project's own mail is set up.
set(GLIMMO_MAINTAINER "The Glimmo developers <maintainers@glimmo.org>")

# The changelog Debian wants in every package (changelog.gz, the package being native):
# one entry for this version, dated as the metainfo dates its release, gzip -n so that
# the same version gives the same bytes.
file(STRINGS ${CMAKE_SOURCE_DIR}/res/glimmo.metainfo.xml release_line
     REGEX "<release version=\"${PROJECT_VERSION}\" date=\"[0-9-]+\"")
string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+" release_date "${release_line}")
if(NOT release_date)
  message(FATAL_ERROR "res/glimmo.metainfo.xml has no dated release ${PROJECT_VERSION}")
endif()
execute_process(COMMAND date -u -R -d "${release_date} 12:00" OUTPUT_VARIABLE release_stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${CMAKE_BINARY_DIR}/doc/changelog
     "${PROJECT_NAME} (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}: see the release notes in the metainfo.\n\n"
     " -- ${GLIMMO_MAINTAINER}  ${release_stamp}\n")
execute_process(COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/doc/changelog OUTPUT_FILE ${CMAKE_BINARY_DIR}/doc/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/glimmo.metainfo.xml)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Glimmo developers")
set(CPACK_PACKAGE_CONTACT "${GLIMMO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maze-chase arcade game: eat the dots, dodge the ghosts")
set(CPACK_PACKAGE_DESCRIPTION
    "A round figure eats 244 dots in a fixed maze while four ghosts hunt it;\n\
energisers turn the tables for a while and the ghosts can be eaten. Fruit\n\
comes twice a level, an extra life at 10,000 points, and short scenes\n\
between some levels. Level by level the game speeds up and the ghosts' blue\n\
spells shorten until it is as hard as it gets; from there the levels go on\n\
for as long as you last. Made for a small keypad phone, with its own sounds\n\
and music, and played here exactly as it was there, in a window scaled up\n\
with crisp pixels.\n\
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
