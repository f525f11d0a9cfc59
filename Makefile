# The two commands of the README, and a few more for developers.
#   make run    build everything (program, content, tools) and start the game
#   make check  build everything and run every test headless: the test suite, the same suite
#               built with AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz
#               target for a short while
#   make bench  the speed and memory benchmarks (they measure; they do not pass or fail)
#   make fuzz   each fuzz target for a longer while
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run check test sanitize fuzz-short bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./trolk -w -x2

check: test sanitize fuzz-short

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	@if [ -x scripts/sanitize.sh ]; then scripts/sanitize.sh; fi

fuzz-short: deps
	@if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh --short; fi

bench: configure
	@if [ -x scripts/bench.sh ]; then scripts/bench.sh $(BUILD); fi

fuzz: deps
	@if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi

clean:
	rm -rf $(BUILD) build-asan build-fuzz
