#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The mutation check of make mutants: scripts/mutants.py over the list tests/mutants.toml,
# in a copy of the tree with a build of its own (build-mutants). Arguments go to it:
#
#   scripts/mutants.sh                 every mutant
#   scripts/mutants.sh 3 7 fall-out    only these (numbers, or words of their names)
#   scripts/mutants.sh --check         only check that every mutant's text is still found
#                                      exactly once in its file
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/mutants.py "$@"
