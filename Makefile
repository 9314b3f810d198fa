# Thin wrapper around CMake. `make` builds the release programs into build/.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake

.PHONY: all build run test sanitize tsan debug fuzz perft-full bench clean bitbases bitbases-4 bitbase-check bitbase-verify windows test-windows

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

# The Windows programs, cross-built with MinGW-w64 into build-windows/, with
# the default book and start-up file beside them.
WINDOWS_PROGRAMME := velkaris velkaris_popcnt velkaris_bench velkaris_bench_generic
windows:
	@$(CMAKE) -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DVELKARIS_TESTS=OFF >/dev/null
	@$(CMAKE) --build build-windows -j $(JOBS) --target $(WINDOWS_PROGRAMME)

# The Windows programs under Wine, beside the POSIX build (which makes the
# bitbases they read and the node counts they must match).
test-windows: windows build
	bash tests/windows/unter_wine.sh build-windows build

sanitize:
	@$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELKARIS_SANITIZE=ON >/dev/null
	@$(CMAKE) --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

tsan:
	@$(CMAKE) -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKARIS_TSAN=ON >/dev/null
	@$(CMAKE) --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j $(JOBS) -R 'tsan|thread|Thread|script|XBoard'

debug:
	@$(CMAKE) -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@$(CMAKE) --build build-debug -j $(JOBS)

FUZZ_SECONDS ?= 600
# Empty: every target; or for example FUZZ_TARGETS=fuzz_xboard.
FUZZ_TARGETS ?=
fuzz:
	@CXX=clang++ $(CMAKE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKARIS_FUZZ=ON -DVELKARIS_TESTS=OFF >/dev/null
	@$(CMAKE) --build build-fuzz -j $(JOBS) --target fuzz_uci fuzz_notation fuzz_buch fuzz_pgn fuzz_buchbilder fuzz_bitbase fuzz_xboard fuzz_zeitproben fuzz_gewichte
	bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Every position of the shared perft suites at its listed depths.
PERFT_DATA ?= ../shared/data/perft
PERFT_BUDGET ?= 2000000
perft-full: build
	./build/velkaris_bench perft-suite --budget $(PERFT_BUDGET) $(PERFT_DATA)/*

bench: build
	./build/velkaris_bench

# Endgame bitbases into build/bitbases: every material of up to four pieces
# and the five-piece sets of rook (queen, bishop) and pawn against the same
# piece, rook and pawn against bishop, with everything they convert into,
# in both colour orders. The rules name each material's smaller materials
# as prerequisites, so `make -j2 bitbases` works on independent materials
# side by side, and a run that was stopped goes on where it stopped.
BB_DIR := build/bitbases
BB_PROGRAMM = $(CURDIR)/build/$(if $(shell grep -qw popcnt /proc/cpuinfo 2>/dev/null && echo y),velkaris_popcnt,velkaris)
BB_CHECK ?= KDK KTK KLK KSK KBK KLSK KDKT KTKL KTKS KBKB

$(BB_DIR)/rules.mk: build
	@mkdir -p $(BB_DIR)
	@./build/velkaris_bench bitbase-rules $(BB_DIR) > $@.tmp && mv $@.tmp $@

bitbases: $(BB_DIR)/rules.mk
	@$(MAKE) --no-print-directory -f $(BB_DIR)/rules.mk VELKARIS=$(BB_PROGRAMM) all-bitbases

bitbases-4: $(BB_DIR)/rules.mk
	@$(MAKE) --no-print-directory -f $(BB_DIR)/rules.mk VELKARIS=$(BB_PROGRAMM) bitbases-4

# Every bitbase file of build/bitbases against its checksum file; names
# every file that is damaged or missing.
bitbase-verify: build
	$(BB_PROGRAMM) --VerifyBitbase $(BB_DIR)

# Every legal position of the three-piece sets and of KLSK, KDKT, KTKL, KTKS
# and KBKB against an independent solver.
bitbase-check: bitbases-4
	./build/tests/velkaris_bitbase_check $(BB_DIR) $(BB_CHECK)

clean:
	rm -rf build build-asan build-tsan build-debug build-fuzz build-windows
