# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack once the project is installed into its staging folder, before the Debian
# package is made: the launchers (the game's and the level editor's) go from /usr/bin to
# /usr/games, where Debian puts the programs of games. A launcher finds the prefix as the
# folder above its own, which is /usr from either place.
if(NOT CPACK_TROLK_BINDIR STREQUAL "bin")
    message(FATAL_ERROR "The launcher can move to games/ only from bin/, not from "
        "${CPACK_TROLK_BINDIR}/: it finds the prefix one folder up.")
endif()
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${staged}/games)
foreach(launcher trolk trolkedit)
    if(NOT EXISTS ${staged}/bin/${launcher})
        message(FATAL_ERROR "No launcher at ${staged}/bin/${launcher} to move to games/")
    endif()
    file(RENAME ${staged}/bin/${launcher} ${staged}/games/${launcher})
endforeach()
file(GLOB left ${staged}/bin/*)
if(NOT left)
    file(REMOVE_RECURSE ${staged}/bin)
endif()
