#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installation tests, run by ctest:
#   install_test.sh launcher BUILD   install into a temporary prefix; the launcher makes the
#                                    player's folder in a fresh home (or XDG_DATA_HOME),
#                                    links the data, passes the options through, and still
#                                    works when the installed tree is moved; the level
#                                    editor's launcher finds the installed pictures and levels
#   install_test.sh desktop BUILD    the installed desktop entry, AppStream file, icons and
#                                    manual page are sound
#   install_test.sh deb BUILD        cpack makes a Debian package holding all of it, the
#                                    launcher in /usr/games, and the launcher of the
#                                    unpacked package finds its data
#   install_test.sh lintian BUILD    lintian finds no error and no warning in that package
#   install_test.sh reuse SOURCE     reuse lint: every file of the source names its licence
# The installed game played in a real window from a fresh home is a case of e2e_tests.
# lintian and reuse come with scripts/install-deps.sh --extra; without them those checks fail.
set -euo pipefail

mode=$1
tree=$(cd "$2" && pwd)
build=$tree
scratch=$(mktemp -d "${TMPDIR:-/tmp}/trolk-install-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
check() {  # check "what" command...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# Makes the Debian package of the build in $scratch/out; its path.
make_package() {
    (cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" \
        >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log" >&2; exit 1; }
    ls "$scratch"/out/*.deb 2>/dev/null | head -1
}

# A checker that make check-all installs; its absence fails the check.
need() {
    command -v "$1" >/dev/null ||
        { echo "FAIL: $1 is not installed (scripts/install-deps.sh --extra installs it)"; exit 1; }
}

install_into() {
    cmake --install "$build" --prefix "$1" >"$scratch/install.log" 2>&1 ||
        { cat "$scratch/install.log"; exit 1; }
}

case $mode in
launcher)
    prefix=$scratch/prefix
    install_into "$prefix"
    check "the launcher is installed" test -x "$prefix/bin/trolk"
    check "the game is installed" test -x "$prefix/libexec/trolk/trolk"
    for archive in gfx music maps sound; do
        check "data/$archive.zda is installed" test -s "$prefix/share/games/trolk/data/$archive.zda"
    done
    check "the test map is installed" test -s "$prefix/share/games/trolk/maps/test.bin"
    check "the level editor's launcher is installed" test -x "$prefix/bin/trolkedit"
    for program in trolkedit levelbot; do
        check "$program is installed" test -x "$prefix/libexec/trolk/$program"
    done
    check "the level texts are installed" test -s "$prefix/share/games/trolk/levels/plan8.lvl"
    check "their legend is installed" test -s "$prefix/share/games/trolk/levels/legend.txt"

    # The options reach the game: -h prints its nine help lines.
    home=$scratch/home
    mkdir -p "$home"
    help=$(env -i HOME="$home" PATH="/usr/bin:/bin" "$prefix/bin/trolk" -h)
    check "-h passes through the launcher" test "$(printf '%s\n' "$help" | wc -l)" -eq 9
    player=$home/.local/share/trolk
    check "the player's folder is made" test -d "$player"
    check "data links to the installed data" \
        test "$(readlink -f "$player/data")" = "$(readlink -f "$prefix/share/games/trolk/data")"
    check "maps links to the installed maps" \
        test "$(readlink -f "$player/maps")" = "$(readlink -f "$prefix/share/games/trolk/maps")"

    # The editor through its launcher: options pass, and it finds the installed pictures and
    # the level texts by name. It runs headless until a stop signal ends it.
    usage=$(env -i HOME="$home" PATH="/usr/bin:/bin" "$prefix/bin/trolkedit" -h)
    check "-h passes through the editor's launcher" \
        test "$(printf '%s\n' "$usage" | head -1 | cut -d' ' -f1-2)" = "usage: trolkedit"
    (cd "$scratch" && exec env -i HOME="$home" PATH="/usr/bin:/bin" SDL_VIDEODRIVER=dummy \
        SDL_AUDIODRIVER=dummy "$prefix/bin/trolkedit" plan8 >"$scratch/editor.log" 2>&1) &
    editor=$!
    sleep 2
    kill -TERM "$editor" 2>/dev/null || true
    status=0
    wait "$editor" || status=$?
    check "the installed editor opens plan8 and ends on a stop signal" \
        test "$status" -eq 0 -a ! -s "$scratch/editor.log"
    [ -s "$scratch/editor.log" ] && cat "$scratch/editor.log"

    # XDG_DATA_HOME moves the folder; a real folder in place of a link is left alone.
    xdg=$scratch/xdg
    mkdir -p "$xdg/trolk/maps"
    env -i HOME="$home" XDG_DATA_HOME="$xdg" PATH="/usr/bin:/bin" "$prefix/bin/trolk" -h >/dev/null
    check "XDG_DATA_HOME holds the player's folder" test -L "$xdg/trolk/data"
    check "a real maps folder stays" test ! -L "$xdg/trolk/maps"

    # A moved tree still works: the launcher finds everything from its own place.
    mv "$prefix" "$scratch/moved"
    env -i HOME="$home" PATH="/usr/bin:/bin" "$scratch/moved/bin/trolk" -h >/dev/null
    check "after a move the links follow the tree" \
        test "$(readlink -f "$player/data")" = "$(readlink -f "$scratch/moved/share/games/trolk/data")"
    ;;

desktop)
    prefix=$scratch/prefix
    install_into "$prefix"
    share=$prefix/share
    check "the desktop entry validates" \
        desktop-file-validate "$share/applications/org.trolk.trolk.desktop"
    check "the AppStream file validates" \
        appstreamcli validate --no-net --pedantic "$share/metainfo/org.trolk.trolk.metainfo.xml"
    check "the AppStream file names the licences of the program and of its content" \
        grep -q "<project_license>GPL-3.0-or-later AND CC-BY-SA-4.0</project_license>" \
        "$share/metainfo/org.trolk.trolk.metainfo.xml"
    check "the copyright file is installed with the documentation" \
        grep -qx "License: GPL-3.0-or-later AND CC-BY-SA-4.0" "$share/doc/trolk/copyright"
    check "the installed tree validates for AppStream" \
        appstreamcli validate-tree --no-net "$prefix"
    for size in 16 32 48 64 128 256; do
        icon=$share/icons/hicolor/${size}x${size}/apps/trolk.png
        check "the ${size}x${size} icon is a ${size}x${size} PNG with transparency" \
            test "$(identify -format '%w %h %[channels]' "$icon" 2>/dev/null)" = "$size $size srgba"
    done
    # The icon is the hero: the big one is the small one enlarged pixel for pixel.
    small=$share/icons/hicolor/16x16/apps/trolk.png
    big=$share/icons/hicolor/256x256/apps/trolk.png
    convert "$small" -filter point -resize 1600% "$scratch/enlarged.png"
    check "the 256 icon is the 16 icon enlarged sixteen times" \
        test "$(compare -metric AE "$big" "$scratch/enlarged.png" null: 2>&1)" = 0
    check "the icon is not empty" \
        test "$(convert "$small" -alpha extract -format '%[fx:mean>0.2]' info:)" = 1
    for page in trolk trolkedit; do
        check "the manual page of $page formats without warnings" \
            test -z "$(zcat "$share/man/man6/$page.6.gz" | groff -man -t -Tutf8 -ww -z 2>&1)"
    done
    check "the manual page names every option of -h" \
        bash -c 'page=$(zcat "$1" | groff -man -t -Tascii -P-cbou 2>/dev/null)
                 for option in -w -fs -x2 -aa -ogl -hd -b16 -b24 -h; do
                     grep -q -- "$option" <<<"$page" || exit 1
                 done' _ "$share/man/man6/trolk.6.gz"
    check "the editor's manual page names every option of its usage" \
        bash -c 'page=$(zcat "$1" | groff -man -t -Tascii -P-cbou 2>/dev/null)
                 for option in --data --levels --legend --levelbot --style --scale --b24 --help; do
                     grep -q -- "$option" <<<"$page" || exit 1
                 done' _ "$share/man/man6/trolkedit.6.gz"
    ;;

deb)
    deb=$(make_package)
    check "cpack made a .deb" test -n "$deb"
    [ -n "$deb" ] || exit 1
    contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for path in ./usr/games/trolk ./usr/libexec/trolk/trolk ./usr/games/trolkedit \
        ./usr/libexec/trolk/trolkedit ./usr/libexec/trolk/levelbot \
        ./usr/share/games/trolk/levels/legend.txt ./usr/share/man/man6/trolkedit.6.gz \
        ./usr/share/games/trolk/data/gfx.zda ./usr/share/games/trolk/data/maps.zda \
        ./usr/share/games/trolk/data/music.zda ./usr/share/games/trolk/data/sound.zda \
        ./usr/share/games/trolk/maps/test.bin \
        ./usr/share/applications/org.trolk.trolk.desktop \
        ./usr/share/metainfo/org.trolk.trolk.metainfo.xml \
        ./usr/share/icons/hicolor/256x256/apps/trolk.png ./usr/share/man/man6/trolk.6.gz \
        ./usr/share/doc/trolk/copyright ./usr/share/doc/trolk/changelog.gz; do
        check "the package holds $path" grep -qx -- "$path" <<<"$contents"
    done
    check "nothing in /usr/bin: a game's program is in /usr/games" \
        bash -c '! grep -q "^\./usr/bin/" <<<"$1"' _ "$contents"
    depends=$(dpkg-deb -f "$deb" Depends)
    for library in libsdl1.2debian libsdl-mixer1.2 libmodplug1 zlib1g; do
        check "the package depends on $library" grep -q "$library" <<<"$depends"
    done
    check "the package is in the games section" test "$(dpkg-deb -f "$deb" Section)" = games
    check "the maintainer is the configured one" test "$(dpkg-deb -f "$deb" Maintainer)" = \
        "$(sed -n 's/^TROLK_PACKAGE_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")"

    root=$scratch/root
    dpkg-deb -x "$deb" "$root"
    check "the copyright file gives the licence of the whole" \
        grep -qx "License: GPL-3.0-or-later AND CC-BY-SA-4.0" "$root/usr/share/doc/trolk/copyright"
    check "the copyright file holds the text of CC-BY-SA-4.0" \
        grep -q "^ Section 8 -- Interpretation\.$" "$root/usr/share/doc/trolk/copyright"
    check "the changelog names the version" \
        bash -c 'zcat "$1" | head -1 | grep -q "^trolk (0\.9\.9) "' _ "$root/usr/share/doc/trolk/changelog.gz"
    # The unpacked tree is an install like any other: the launcher in games/ finds its data.
    home=$scratch/home
    mkdir -p "$home"
    help=$(env -i HOME="$home" PATH="/usr/bin:/bin" "$root/usr/games/trolk" -h)
    check "the packaged launcher passes -h through" test "$(printf '%s\n' "$help" | wc -l)" -eq 9
    usage=$(env -i HOME="$home" PATH="/usr/bin:/bin" "$root/usr/games/trolkedit" -h)
    check "the packaged editor's launcher passes -h through" \
        test "$(printf '%s\n' "$usage" | head -1 | cut -d' ' -f1-2)" = "usage: trolkedit"
    check "the packaged launcher links the packaged data" \
        test "$(readlink -f "$home/.local/share/trolk/data")" = "$(readlink -f "$root/usr/share/games/trolk/data")"
    ;;

lintian)
    need lintian
    deb=$(make_package)
    [ -n "$deb" ] || { fail "cpack made no .deb"; exit 1; }
    # Errors and warnings fail; the informational tags are shown.
    if lintian --display-info --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1; then
        echo "ok: lintian accepts $(basename "$deb")"
    else
        fail "lintian finds errors or warnings in $(basename "$deb")"
    fi
    grep -v "running with root privileges" "$scratch/lintian.log" || true
    ;;

reuse)
    need reuse
    if reuse --root "$tree" lint >"$scratch/reuse.log" 2>&1; then
        echo "ok: every file names its copyright and licence"
        tail -n 1 "$scratch/reuse.log"
    else
        cat "$scratch/reuse.log"
        fail "reuse lint"
    fi
    ;;
*)
    echo "usage: install_test.sh launcher|desktop|deb|lintian BUILD, install_test.sh reuse SOURCE" >&2
    exit 2
    ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
