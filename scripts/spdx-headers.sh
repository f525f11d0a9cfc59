#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every source file of the tree its two SPDX lines (copyright and licence) where they
# are missing, in the file's own comment syntax: C++ (//), CMake, shell, Python, make, the
# sanitizer suppressions, the fuzzing dictionaries, desktop entries and the configuration
# files of the tools (#). The lines go first, after a #! line when there is one, followed
# by an empty line. A file that already names its licence is left as it is, so running the
# script again changes nothing.
#
#   scripts/spdx-headers.sh [FILE...]   the files named, or every file git knows that is not
#                                       ignored (tracked or new)
#
# The content (content/, apart from its build rules) and the pictures carry no header:
# .reuse/dep5 gives their licence, CC-BY-SA-4.0. `reuse lint` checks the whole tree.
set -euo pipefail
cd "$(dirname "$0")/.."

# REUSE-IgnoreStart
copyright_line="SPDX-FileCopyrightText: 2026 The TROLK developers"
licence_line="SPDX-License-Identifier: GPL-3.0-or-later"
licence_tag="SPDX-License-Identifier:"
# REUSE-IgnoreEnd

# The comment marker of a file, or nothing when the file takes no header.
comment_of() {
    local path=$1 name=${1##*/}
    case "$path" in
        LICENSES/* | .reuse/*) return ;;
        content/*) case "$name" in CMakeLists.txt | *.cmake) echo "#" ;; esac; return ;;
    esac
    case "$name" in
        *.cpp | *.cc | *.c | *.h | *.hpp) echo "//" ;;
        CMakeLists.txt | *.cmake | *.sh | *.py | Makefile | *.mk) echo "#" ;;
        *.supp | *.dict | *.desktop) echo "#" ;;
        .gitignore | .editorconfig | .clang-format | .clang-tidy) echo "#" ;;
        *)
            # Scripts without an extension (.ci/run, the launcher's template).
            if [ "$(head -c 2 "$path" | tr -d '\0')" = "#!" ]; then echo "#"; fi
            ;;
    esac
}

add_header() {
    local path=$1 marker=$2
    local tmp
    tmp=$(mktemp "$path.XXXXXX")
    awk -v first="$marker $copyright_line" -v second="$marker $licence_line" '
        function header() { print first; print second; done = 1 }
        NR == 1 && /^#!/ { print; next }
        !done { header(); if ($0 != "") print "" }
        { print }
        END { if (!done) header() }
    ' "$path" >"$tmp"
    chmod --reference="$path" "$tmp"
    mv "$tmp" "$path"
    echo "header added: $path"
}

if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files --cached --others --exclude-standard | sort -u)
fi

added=0
for path in "${files[@]}"; do
    [ -f "$path" ] && [ ! -L "$path" ] || continue
    marker=$(comment_of "$path")
    [ -n "$marker" ] || continue
    if head -n 5 "$path" | grep -q -F "$licence_tag"; then
        continue
    fi
    add_header "$path" "$marker"
    added=$((added + 1))
done
echo "$added file(s) given SPDX headers"
