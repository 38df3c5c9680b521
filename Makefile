# The commands a newcomer runs. Each sets up the machine first (Debian 12,
# as root; idempotent), then builds.
.PHONY: setup setup-release build demo screenshots test test-native test-fuzz test-win32 release test-release fuzz bench soak clean

JOBS ?= 2
# The Windows build that runs under Wine here: win32, or win64 on a kernel
# that runs no 32-bit programs (see tools/windows-build).
WIN := $(shell tools/windows-build preset)

setup:
	@tools/setup.sh

setup-release:
	@tools/setup.sh release

build: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	cmake --preset $(WIN) >/dev/null
	cmake --build --preset $(WIN) -j $(JOBS)
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

demo: setup
	cmake --preset $(WIN) >/dev/null
	cmake --build --preset $(WIN) -j $(JOBS)
	tools/bkhost examples/*.bk

# Pictures of the dialogs in both languages, as the README shows them.
screenshots: setup
	cmake --preset $(WIN) >/dev/null
	cmake --build --preset $(WIN) -j $(JOBS)
	tools/bkhost --shots docs/screenshots docs/screenshots/*.bk

test-native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)

# Where Wine runs only 64-bit programs, the DLLs users get are still built
# and their binaries checked; the tests under Wine run on the x86-64 build.
test-win32: setup
	cmake --preset win32 >/dev/null
ifeq ($(WIN),win32)
	cmake --build --preset win32 -j $(JOBS)
	ctest --preset win32
else
	cmake --build --preset win32 -j $(JOBS) --target Halyard Quillon32 Quillon32_release
	ctest --preset win32 -L nowine
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)
	ctest --preset win64
endif

# Every fuzz target briefly, from its checked-in seeds: a few seconds each.
FUZZ_TEST_SECONDS ?= 4
test-fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	tools/run-fuzzers build/fuzz $(FUZZ_TEST_SECONDS)

test: test-native test-fuzz test-win32

# The installer, the archive and the update announcement, in dist/.
release: setup-release
	cmake --preset release >/dev/null
	cmake --build --preset release --target dist -j $(JOBS)

# The distribution as a user gets it: help pages in a headless browser,
# the installer and uninstaller in a fresh Wine prefix with the headless
# host running the demo against the installed DLLs, the archive's contents.
test-release: release
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS) --target bkhost bkhost-nosetstatus
	tests/release/run

# FUZZ_SECONDS=n per target (default 60); FUZZ_TARGETS="a_fuzz b_fuzz" picks targets.
fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	tools/run-fuzzers build/fuzz "$(FUZZ_SECONDS)" $(FUZZ_TARGETS)

# The table of the plug-in's speed under Wine against its floors (README,
# "Benchmarks"). BEFORE=path/to/Halyard.dll times that build and this one
# side by side.
bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS) --target halyard_generate_book
	cmake --preset $(WIN) >/dev/null
	cmake --build --preset $(WIN) --target Halyard halyard_hostbench -j $(JOBS)
	bench/run-wine $(if $(BEFORE),--before $(BEFORE))

# The long runs in which nothing may grow: 200 starts and exits, 1,000
# replies to all (tests/generate/steady.py; short versions are scenarios).
soak: setup
	cmake --preset $(WIN) >/dev/null
	cmake --build --preset $(WIN) -j $(JOBS) --target Halyard bkhost bkhost-nosetstatus
	python3 tests/generate/steady.py --full build/soak
	tools/bkhost build/soak/*.bk

clean:
	rm -rf build
