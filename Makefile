# Thin wrapper around CMake. `make` builds the release programs into build/.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake

.PHONY: all build run test sanitize tsan debug fuzz perft-full bench clean

all: build

build:
	@$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(CMAKE) --build build -j $(JOBS)

# Start the engine on the console: the popcnt build where the processor has
# the instruction, the generic build otherwise.
run: build
	@if grep -qw popcnt /proc/cpuinfo 2>/dev/null; then exec ./build/velkaris_popcnt; else exec ./build/velkaris; fi

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

sanitize:
	@$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELKARIS_SANITIZE=ON >/dev/null
	@$(CMAKE) --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

tsan:
	@$(CMAKE) -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKARIS_TSAN=ON >/dev/null
	@$(CMAKE) --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j $(JOBS) -R 'tsan|thread|Thread|script'

debug:
	@$(CMAKE) -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@$(CMAKE) --build build-debug -j $(JOBS)

FUZZ_SECONDS ?= 600
fuzz:
	@CXX=clang++ $(CMAKE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKARIS_FUZZ=ON -DVELKARIS_TESTS=OFF >/dev/null
	@$(CMAKE) --build build-fuzz -j $(JOBS) --target fuzz_uci fuzz_notation fuzz_buch fuzz_pgn fuzz_buchbilder
	bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Every position of the shared perft suites at its listed depths.
PERFT_DATA ?= ../shared/data/perft
PERFT_BUDGET ?= 2000000
perft-full: build
	./build/velkaris_bench perft-suite --budget $(PERFT_BUDGET) $(PERFT_DATA)/*

bench: build
	./build/velkaris_bench

clean:
	rm -rf build build-asan build-tsan build-debug build-fuzz
