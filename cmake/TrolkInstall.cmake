# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installation and packaging. Every path is relative to the install prefix:
#
#   bin/trolk, bin/trolkedit            the launchers (one shell script, see dist/trolk.in)
#   libexec/trolk/trolk                 the game itself
#   libexec/trolk/trolkedit             the level editor, and the level bot that proves
#   libexec/trolk/levelbot              levels for it
#   share/games/trolk/data/*.zda        the four archives
#   share/games/trolk/maps/test.bin     the test map of -t
#   share/games/trolk/levels/           the level texts, their shared legend and FORMAT.md
#   share/applications/org.trolk.trolk.desktop
#   share/metainfo/org.trolk.trolk.metainfo.xml
#   share/icons/hicolor/<N>x<N>/apps/trolk.png   16, 32, 48, 64, 128 and 256 pixels
#   share/man/man6/trolk.6.gz, trolkedit.6.gz
#   share/doc/trolk/README.md and the pictures it shows, docs/trolkedit.md and its pictures
#   share/doc/trolk/copyright           the licences, in Debian's machine-readable format
#   share/doc/trolk/changelog.gz
#
# The game reads ./data and writes trolk.cfg, hiscores.dat and savegame.dat where it runs,
# so the launcher starts it in the player's own folder ($XDG_DATA_HOME/trolk), made on the
# first start with links to the installed data. The launcher finds the prefix from its own
# place, so an installed tree can be moved. `cpack -G DEB` in the build folder makes a
# Debian package with the prefix /usr, the launcher in /usr/games as Debian has it for games
# (cmake/TrolkDebianGames.cmake), and so is the editor's.
include(GNUInstallDirs)

# The Maintainer of the Debian package (and the author of its changelog entry): a distributor
# sets their own name and address.
set(TROLK_PACKAGE_MAINTAINER "The TROLK developers <developers@trolk.invalid>" CACHE STRING
    "Maintainer field of the Debian package, \"Name <address>\"")

set(TROLK_APP_ID org.trolk.trolk)
set(TROLK_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/games/trolk)
set(TROLK_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/trolk)
set(TROLK_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(TROLK_DIST_BUILD_DIR ${CMAKE_BINARY_DIR}/dist)
set(TROLK_ICON_SIZES 16 32 48 64 128 256)

# The launcher, told where the rest lies relative to its own folder.
file(RELATIVE_PATH TROLK_PREFIX_FROM_BINDIR /prefix/${CMAKE_INSTALL_BINDIR} /prefix)
configure_file(${TROLK_DIST_DIR}/trolk.in ${TROLK_DIST_BUILD_DIR}/trolk @ONLY)

# Icons: the resting hero of the deluxe tile sheet, cut from the built graphics archive and
# enlarged pixel for pixel.
add_executable(trolkicon ${TROLK_DIST_DIR}/icons/trolkicon.cpp)
set_target_properties(trolkicon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TROLK_TOOLS_DIR})
target_link_libraries(trolkicon PRIVATE trolk_archive zda_writer PkgConfig::SDL)
# stb is written for C and warns under our flags; it is not our code.
target_compile_options(trolkicon PRIVATE -Wno-missing-field-initializers -Wno-sign-compare
    -Wno-unused-function)
set(icon_files)
foreach(size ${TROLK_ICON_SIZES})
    list(APPEND icon_files ${TROLK_DIST_BUILD_DIR}/icons/${size}x${size}/apps/trolk.png)
endforeach()
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND trolkicon ${TROLK_DATA_DIR}/gfx.zda ${TROLK_DIST_BUILD_DIR}/icons
    DEPENDS trolkicon archive_gfx ${TROLK_DATA_DIR}/gfx.zda
    COMMENT "Cutting the desktop icons from data/gfx.zda"
    VERBATIM)

# The manual pages, compressed as Debian wants them.
set(manual_pages)
foreach(page trolk trolkedit)
    add_custom_command(
        OUTPUT ${TROLK_DIST_BUILD_DIR}/${page}.6.gz
        COMMAND gzip -9 -n -c ${TROLK_DIST_DIR}/${page}.6 > ${TROLK_DIST_BUILD_DIR}/${page}.6.gz
        DEPENDS ${TROLK_DIST_DIR}/${page}.6
        COMMENT "Compressing the manual page of ${page}")
    list(APPEND manual_pages ${TROLK_DIST_BUILD_DIR}/${page}.6.gz)
endforeach()

# The copyright file: the paragraphs of dist/copyright.in, then the whole text of
# CC-BY-SA-4.0 as the indented text of its License paragraph (Debian keeps the GPL's own in
# /usr/share/common-licenses, and the copyright file points there).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TROLK_DIST_DIR}/copyright.in
    ${CMAKE_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt)
file(READ ${TROLK_DIST_DIR}/copyright.in copyright)
file(READ ${CMAKE_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt licence)
string(REGEX REPLACE "[ \t]+\n" "\n" licence "${licence}")
string(REGEX REPLACE "\n+$" "" licence "${licence}")
string(REPLACE "\n" "\n " licence " ${licence}")
# An empty line of a field's text is a lone full stop; two in a row take two passes.
string(REPLACE "\n \n" "\n .\n" licence "${licence}")
string(REPLACE "\n \n" "\n .\n" licence "${licence}")
file(WRITE ${TROLK_DIST_BUILD_DIR}/copyright "${copyright}${licence}\n")

# The changelog, in Debian's format and compressed as Debian wants it.
configure_file(${TROLK_DIST_DIR}/changelog.in ${TROLK_DIST_BUILD_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${TROLK_DIST_BUILD_DIR}/changelog.gz
    COMMAND gzip -9 -n -c ${TROLK_DIST_BUILD_DIR}/changelog > ${TROLK_DIST_BUILD_DIR}/changelog.gz
    DEPENDS ${TROLK_DIST_BUILD_DIR}/changelog
    COMMENT "Compressing the changelog")

add_custom_target(desktop_files ALL DEPENDS ${icon_files} ${manual_pages}
    ${TROLK_DIST_BUILD_DIR}/changelog.gz)

install(PROGRAMS ${TROLK_DIST_BUILD_DIR}/trolk DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${TROLK_DIST_BUILD_DIR}/trolk DESTINATION ${CMAKE_INSTALL_BINDIR}
    RENAME trolkedit)
install(TARGETS trolk trolkedit levelbot RUNTIME DESTINATION ${TROLK_INSTALL_PROGRAM_DIR})
file(GLOB level_texts ${CMAKE_SOURCE_DIR}/content/levels/*.lvl)
install(FILES ${level_texts} ${CMAKE_SOURCE_DIR}/content/levels/legend.txt
    ${CMAKE_SOURCE_DIR}/content/levels/FORMAT.md DESTINATION ${TROLK_INSTALL_DATA_DIR}/levels)
install(FILES ${TROLK_DATA_DIR}/gfx.zda ${TROLK_DATA_DIR}/music.zda ${TROLK_DATA_DIR}/maps.zda
    ${TROLK_DATA_DIR}/sound.zda DESTINATION ${TROLK_INSTALL_DATA_DIR}/data)
install(FILES ${CMAKE_BINARY_DIR}/maps/test.bin DESTINATION ${TROLK_INSTALL_DATA_DIR}/maps)
install(FILES ${TROLK_DIST_DIR}/${TROLK_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TROLK_DIST_DIR}/${TROLK_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${TROLK_ICON_SIZES})
    install(FILES ${TROLK_DIST_BUILD_DIR}/icons/${size}x${size}/apps/trolk.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${TROLK_DIST_BUILD_DIR}/copyright
    ${TROLK_DIST_BUILD_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
    OPTIONAL FILES_MATCHING PATTERN "*.png" PATTERN "trolkedit.md" PATTERN "*.lvl")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trolk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hard retro platformer")
# Lines of at most 79 characters; CPack indents them as a Debian description.
set(CPACK_PACKAGE_DESCRIPTION "Trolk wandered around and lost all his items. Get them back
through sixteen side-scrolling levels full of blobs, hoglets, bats, piranhas
and hat guys. A hard game in the style of the old home computers, with its own
pictures, chip-tune music and sound effects.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TROLK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Debian puts the programs a player starts in /usr/games: the launcher moves there from
# /usr/bin before the package is made. Both lie one folder below the prefix, so the launcher
# finds the rest as it does in any other install.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/TrolkDebianGames.cmake)
set(CPACK_TROLK_BINDIR ${CMAKE_INSTALL_BINDIR})
include(CPack)
