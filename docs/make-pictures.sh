#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the pictures of the README from a build: screenshots of the real game in a private
# Xvfb (driven with xdotool, taken with ImageMagick's import) and pictures of level 1 drawn
# by trolkrender, the game's own drawing code.
#
#   docs/make-pictures.sh [BUILD]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
docs=$(pwd)/docs
work=$(mktemp -d)
server=""
game=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Level 1 by the renderer: the whole level with the way the level bot found through it, and
# one view in each of the three graphics styles (classic, deluxe, handheld).
"$build/tools/trolkrender" --data "$build" --replay content/replays/beginner.rpl beginner \
    -o "$work/way.png" >/dev/null
cp "$work/way.png" "$docs/level1-way.png"
for style in 0 1 2; do
    "$build/tools/trolkrender" --data "$build" --style "$style" --view 560 --frame 40 \
        beginner -o "$work/style$style.png"
done
convert "$work/style0.png" "$work/style1.png" "$work/style2.png" -bordercolor black \
    -border 2 +append +repage -filter point -resize 200% "$docs/styles.png"

# The real game, zoomed to 640 x 480.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
mkdir "$work/run"
ln -s "$build/data" "$work/run/data"
ln -s "$build/maps" "$work/run/maps"
(cd "$work/run" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$build/trolk" -w -x2) &
game=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^TROLK$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
xdotool windowfocus --sync "$window"
hold() { xdotool keydown "$1"; sleep "${2:-0.3}"; xdotool keyup "$1"; sleep 0.5; }
shot() { import -window "$window" "$docs/$1"; }

sleep 0.5; xdotool key Up
sleep 0.5; xdotool key Up
sleep 0.5; xdotool key Right
# "PRESS START" blinks: of two shots half a blink apart, keep the brighter one there.
sleep 6; import -window "$window" "$work/title1.png"
sleep 0.55; import -window "$window" "$work/title2.png"
brightness() { convert "$1" -crop 360x32+140+256 -colorspace gray -format '%[fx:mean]' info:; }
if awk "BEGIN { exit !($(brightness "$work/title1.png") > $(brightness "$work/title2.png")) }"; then
    cp "$work/title1.png" "$docs/title.png"
else
    cp "$work/title2.png" "$docs/title.png"
fi
hold Return
hold Return
hold Return
sleep 3.4; hold Right 1.2; sleep 0.6
shot level1.png
# A close in a level would only ask whether to quit.
kill -KILL "$game"; wait "$game" 2>/dev/null || true; game=""
ls -l "$docs"/*.png
