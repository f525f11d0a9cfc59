#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The benchmarks: `make bench` runs this after the build, with the build folder.
#   scripts/bench.sh [BUILD] [--quick]
# Installs the benchmark peers (SDL_gfx), builds the benchmark, runs it pinned to one core
# with SDL's dummy drivers, then measures the OpenGL mode under Xvfb when Xvfb is there.
# The table is printed and written to BUILD/bench/results.md. Nothing here fails on a slow
# figure: the benchmark measures and prints.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build}"
shift || true
case "$build" in /*) ;; *) build="$root/$build" ;; esac

"$root/scripts/install-deps.sh" --extra
# Configure again so that the benchmark finds the peers installed just now, then build what
# a run needs: the game, its data, the benchmark and its hook.
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_inputs

results="$build/bench/results.md"
mkdir -p "$build/bench"

# One core, the last one, for the whole run (start-up children included).
pin=()
if command -v taskset >/dev/null 2>&1; then
    pin=(taskset -c "$(($(nproc) - 1))")
fi

SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "${pin[@]}" "$build/bench/trolk_bench" --build "$build" --out "$results" "$@"

# OpenGL needs a GL context, which the dummy driver cannot give: Xvfb with Mesa's software
# renderer can. Its figures are those of a software rasteriser, not of a graphics card.
gl_results="$build/bench/results-gl.md"
if command -v xvfb-run >/dev/null 2>&1; then
    if SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
        xvfb-run -a -s "-screen 0 1024x768x24" \
        "${pin[@]}" "$build/bench/trolk_bench" --build "$build" --gl-only --out "$gl_results" "$@"; then
        {
            echo
            echo "OpenGL rows: Xvfb with Mesa's software renderer (llvmpipe), not a graphics card."
            cat "$gl_results"
        } >>"$results"
    else
        echo "OpenGL mode could not be measured under Xvfb." | tee -a "$results"
    fi
else
    echo "OpenGL mode not measured: no xvfb-run on this machine." | tee -a "$results"
fi

echo
echo "Written to $results"
