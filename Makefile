# SPDX-FileCopyrightText: 2026 The TROLK developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The commands of the README, and a few more for developers.
#   make run        build everything (program, content, tools) and start the game
#   make check      build everything and run the test suite of the normal build: unit,
#                   integration, content, tool, window and installation tests
#   make check-all  make check, then the slow checks: the suite built with AddressSanitizer
#                   and UndefinedBehaviorSanitizer, each fuzz target for a short while, the
#                   mutation check, the window tests against sdl12-compat, and the package
#                   checks (reuse lint, lintian); what CI runs
#   make bench      the speed and memory benchmarks (they measure; they do not pass or fail)
#   make fuzz       each fuzz target for a longer while
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Warnings are errors in the builds of make check-all (what CI runs), not in a plain make.
WERROR ?= OFF
# Tests that make check leaves to make check-all (labels of ctest).
SLOW_LABELS = sdl12compat|package

.PHONY: all deps deps-extra configure build run check check-all test sanitize fuzz-short \
	mutants sdl12-compat package-checks bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

deps-extra:
	@scripts/install-deps.sh --extra

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTROLK_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./trolk -w -x2

check: test

# One step after the other, each started only when the one before has passed. The steps that
# use build/ keep its warnings-as-errors setting, so that it is not built a second time.
check-all:
	@$(MAKE) --no-print-directory check WERROR=ON
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory fuzz-short
	@$(MAKE) --no-print-directory mutants
	@$(MAKE) --no-print-directory sdl12-compat WERROR=ON
	@$(MAKE) --no-print-directory package-checks WERROR=ON

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE '$(SLOW_LABELS)'

sanitize: deps
	@if [ -x scripts/sanitize.sh ]; then scripts/sanitize.sh -LE '$(SLOW_LABELS)'; fi

fuzz-short: deps
	@if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh --short; fi

mutants: deps
	@if [ -x scripts/mutants.sh ]; then scripts/mutants.sh; fi

# The window tests again, the game started with sdl12-compat (SDL 1.2 over SDL 2) in place of
# the classic SDL 1.2.
sdl12-compat: deps-extra build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L sdl12compat

# reuse lint on the source, lintian on the Debian package made from the build.
package-checks: deps-extra build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L package

bench: configure
	@if [ -x scripts/bench.sh ]; then scripts/bench.sh $(BUILD); fi

fuzz: deps
	@if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-mutants
