#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz and runs each of them for a
# bounded time, two at a time on two cores (FUZZ_JOBS to change that).
#
#   scripts/fuzz.sh            every target for 10 minutes (FUZZ_SECONDS to change that)
#   scripts/fuzz.sh --short    every target for 60 seconds, as make check does
#   scripts/fuzz.sh [--short] TARGET...   only these targets (archive, level, config,
#                              hiscores, savegame)
#
# The committed seeds in fuzz/corpus/<target> are only read; what the fuzzer learns goes to
# build-fuzz/corpus/<target> and is used again by the next run. Exit status 1 when any
# target finds a crash, a leak, a timeout or a broken rule; the input that did it is then in
# build-fuzz/findings/<target>/ and the log in build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-fuzz"

seconds=${FUZZ_SECONDS:-600}
targets=()
for arg in "$@"; do
    case "$arg" in
        --short) seconds=${FUZZ_SECONDS:-60} ;;
        -*) echo "usage: scripts/fuzz.sh [--short] [TARGET...]" >&2; exit 2 ;;
        *) targets+=("$arg") ;;
    esac
done
[ ${#targets[@]} -gt 0 ] || targets=(archive level config hiscores savegame)
jobs=${FUZZ_JOBS:-$(nproc)}

scripts/install-deps.sh --extra

started=$(date +%s)
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S . -B "$build" -DTROLK_FUZZ=ON -DTROLK_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target fuzz_targets -j "$jobs"
echo "fuzz targets built in $(( $(date +%s) - started )) s"

# The longest input a target tries: room for the seeds and a little more.
max_len() {
    case "$1" in
        archive) echo 8192 ;;
        level) echo 16384 ;;
        *) echo 4096 ;;
    esac
}
dictionary() {
    [ -f "$root/fuzz/$1.dict" ] && echo "-dict=$root/fuzz/$1.dict"
    return 0
}

# Runs one target; its log ends with libFuzzer's final statistics.
run_target() {
    local name=$1
    local corpus="$build/corpus/$name" findings="$build/findings/$name/"
    mkdir -p "$corpus" "$findings" "$build/logs"
    touch "$build/logs/$name.started"
    # Halting on the first report of a sanitizer is libFuzzer's default; leaks are findings.
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/fuzz/fuzz_$name" "$corpus" "$root/fuzz/corpus/$name" $(dictionary "$name") \
        -max_total_time="$seconds" -max_len="$(max_len "$name")" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$findings" -print_final_stats=1 \
        >"$build/logs/$name.log" 2>&1
}

# The figures of one finished run: executions, coverage and features, corpus size.
summary() {
    local log="$build/logs/$1.log"
    local runs cov ft corp
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corp=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | cut -d' ' -f2)
    printf '%-9s %10s runs  cov %5s  ft %6s  corpus %s\n' "$1" "${runs:-?}" "${cov:-?}" \
        "${ft:-?}" "${corp:-?}"
}

echo "fuzzing ${targets[*]} for $seconds s each, $jobs at a time"
declare -A pid_of
failed=()
running=0
finish_one() {
    local name=$1
    if wait "${pid_of[$name]}"; then
        summary "$name"
    else
        failed+=("$name")
        echo "FINDING in $name: see $build/logs/$name.log"
        find "$build/findings/$name" -type f -newer "$build/logs/$name.started" |
            sed 's|^|    input: |'
        echo "    replay: $build/fuzz/fuzz_$name <input>"
        grep -m2 -E 'broken rule|ERROR: |runtime error:' "$build/logs/$name.log" | sed 's/^/    /' || true
    fi
}
queue=("${targets[@]}")
active=()
while [ ${#queue[@]} -gt 0 ] || [ ${#active[@]} -gt 0 ]; do
    while [ ${#queue[@]} -gt 0 ] && [ ${#active[@]} -lt "$jobs" ]; do
        name=${queue[0]}
        queue=("${queue[@]:1}")
        [ -x "$build/fuzz/fuzz_$name" ] || { echo "no fuzz target $name" >&2; exit 2; }
        run_target "$name" &
        pid_of[$name]=$!
        active+=("$name")
    done
    # The oldest run ends first: all get the same time.
    finish_one "${active[0]}"
    active=("${active[@]:1}")
done

echo "fuzzing took $(( $(date +%s) - started )) s in all"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
