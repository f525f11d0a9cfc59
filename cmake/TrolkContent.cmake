# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Helpers for the content pipeline: every archive is packed by our own zdatool
# from files that our content compilers wrote into the build tree.

# trolk_pack_archive(NAME <gfx|music|maps|sound> FILES <generated files...> DEPENDS <targets...>)
# Packs the files into ${TROLK_DATA_DIR}/<NAME>.zda; each entry is named after its file.
function(trolk_pack_archive)
    cmake_parse_arguments(ARG "" "NAME" "FILES;DEPENDS" ${ARGN})
    set(out ${TROLK_DATA_DIR}/${ARG_NAME}.zda)
    add_custom_command(
        OUTPUT ${out}
        COMMAND zdatool pack ${out} ${ARG_FILES}
        DEPENDS zdatool ${ARG_FILES} ${ARG_DEPENDS}
        COMMENT "Packing data/${ARG_NAME}.zda"
        VERBATIM)
    add_custom_target(archive_${ARG_NAME} ALL DEPENDS ${out})
endfunction()
