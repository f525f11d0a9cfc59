#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the whole tree (game, tools, content, tests) with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs the whole test suite there. Any report
# fails the run: every sanitizer halts on its first error, and LeakSanitizer looks for leaks
# at every exit. Only leaks inside SDL's and the system's libraries are suppressed
# (scripts/lsan.supp); a leak of ours is never hidden.
#
#   scripts/sanitize.sh [CTEST ARGUMENTS...]   e.g. -R Archive to run some tests only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-asan"
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh

started=$(date +%s)
cmake -S . -B "$build" -DTROLK_SANITIZE=ON -DTROLK_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The content compilers run under the sanitizers as well while the build makes the data.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
cmake --build "$build" -j "$jobs"
built=$(date +%s)
echo "sanitized build took $(( built - started )) s"

cd "$build"
status=0
ctest --output-on-failure -j "$jobs" "$@" || status=$?
echo "sanitized test suite took $(( $(date +%s) - built )) s"
exit $status
