#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the pictures of docs/trolkedit.md from a build: the level editor driven in a private
# Xvfb with xdotool (keys and the mouse) and shot with ImageMagick's import. A level is made
# from an empty file to a proven, playable level, one picture a step, in
# docs/trolkedit-steps/; docs/trolkedit.png shows a level of the game with its proof.
#
#   docs/make-editor-pictures.sh [BUILD]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
docs=$(pwd)/docs
steps=$docs/trolkedit-steps
work=$(mktemp -d)
server=""
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

# The game's folder of this run: the build's archives, and maps/ that the editor makes its own.
game=$work/game
mkdir -p "$game" "$work/levels" "$steps"
ln -s "$build/data" "$game/data"
ln -s "$build/maps" "$game/maps"

window=""
# Starts a program of ours and waits for its window (named as the pattern says).
start() {
    local pattern=$1
    shift
    "$@" &
    program=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --name "$pattern" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.1
    done
    xdotool windowfocus --sync "$window"
    sleep 0.5
}
stop() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
}
shot() { sleep "${2:-0.4}"; import -window "$window" "$1"; }
key() { xdotool key "$@"; sleep 0.15; }
brush() { xdotool type "$1"; sleep 0.1; }
# The middle of a cell at scale 1, the level scrolled to its start: column, row.
at() { echo "$(($1 * 16 + 8)) $(($2 * 16 + 8))"; }
paint() { xdotool mousemove $(at "$1" "$2") click 1; sleep 0.05; }
# A rectangle filled with the brush: shift and a drag from corner to corner.
fill() {
    xdotool mousemove $(at "$1" "$2") keydown shift mousedown 1
    sleep 0.1
    xdotool mousemove $(at "$3" "$4")
    sleep 0.1
    xdotool mouseup 1 keyup shift
    sleep 0.1
}
# The mouse out of the map, over the palette's corner, so that no cell is framed.
park() { xdotool mousemove 950 $(($(xdotool getwindowgeometry "$window" | awk '/Geometry/ {split($2, g, "x"); print g[2]}') - 70)); }
# Waits until the editor has no level bot at work.
proved() {
    sleep 1
    for _ in $(seq 300); do
        pgrep -P "$program" levelbot >/dev/null || return 0
        sleep 1
    done
}

# The steps: an empty file, at scale 1 so that the whole level is in view.
# The editor starts in the work folder: its messages name the files from there.
cd "$work"
level=$work/levels/meadow.lvl
: >"$level"
start '^trolkedit' "$build/tools/trolkedit" --data "$game" --scale 1 "$level"
park
shot "$steps/01-empty-file.png" 1
# 39 columns more before the last one: 60 in all.
xdotool mousemove $(at 20 5)
for _ in 1 2 3; do key shift+Insert; done
for _ in $(seq 9); do key Insert; done
park
shot "$steps/02-columns-inserted.png"
brush '#'
fill 20 10 58 11
brush '.'
fill 26 10 33 11
park
shot "$steps/03-ground-and-a-pit.png"
brush B
fill 20 7 24 7
brush '*'
paint 12 9
paint 22 6
paint 40 9
paint 50 9
brush C
paint 36 9
brush b
paint 45 9
brush f
for column in 3 9 15 38 53; do paint "$column" 9; done
park
shot "$steps/04-items-without-a-door.png"
for cell in '[ 56 8' '] 57 8' '( 56 9' ') 57 9'; do
    set -- $cell
    brush "$1"
    paint "$2" "$3"
done
key F2
park
shot "$steps/05-door-and-grid.png"
key F8
shot "$steps/06-proving.png" 3
proved
shot "$steps/07-no-way-from-the-start.png" 1
# Two bricks in the middle of the pit: the bot starts again by itself.
brush B
fill 29 8 30 8
park
sleep 2
proved
shot "$steps/08-proved.png" 1
# Play from the checkpoint in column 36.
xdotool mousemove $(at 37 4)
key F6
shot "$steps/09-playing-from-the-checkpoint.png" 4.2
key Escape
key ctrl+s
key ctrl+r
key ctrl+t
park
shot "$steps/10-saved-and-test-map-written.png" 1
cp "$level" "$steps/meadow.lvl"
stop
# The game's test mode plays the test map the editor wrote.
start '^TROLK$' bash -c "cd '$game' && exec '$build/trolk' -t -w -x2"
sleep 3.4
xdotool keydown Right
sleep 0.9
xdotool keyup Right
shot "$steps/11-trolk-t-plays-it.png" 0.2
stop

# The picture of the README: level 1 of the game, doubled, with the way the bot found.
cp "$docs/../content/levels/beginner.lvl" "$work/levels/beginner.lvl"
start '^trolkedit' "$build/tools/trolkedit" --data "$game" "$work/levels/beginner.lvl"
for _ in $(seq 9); do key Right; done
key F8
proved
# Over the item in column 22, row 7: the status line names it.
xdotool mousemove 432 240
shot "$docs/trolkedit.png" 1
stop

for picture in "$docs/trolkedit.png" "$steps"/*.png; do
    convert "$picture" -strip -define png:compression-level=9 "$picture"
done
ls -l "$docs/trolkedit.png" "$steps"
