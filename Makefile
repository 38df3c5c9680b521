# The commands a newcomer runs. Each sets up the machine first (Debian 12,
# as root; idempotent), then builds.
.PHONY: setup setup-release build demo screenshots test test-native test-win32 release test-release fuzz bench clean

JOBS ?= 2

setup:
	@tools/setup.sh

setup-release:
	@tools/setup.sh release

build: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

demo: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	tools/bkhost examples/*.bk

# Pictures of the dialogs in both languages, as the README shows them.
screenshots: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	tools/bkhost --shots docs/screenshots docs/screenshots/*.bk

test-native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)

test-win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)
	ctest --preset win32

test: test-native test-win32

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

fuzz: setup
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	tools/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# BEFORE=path/to/Halyard.dll times that build and this one side by side.
bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	build/bench/bench/halyard_bench
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target Halyard halyard_hostbench -j $(JOBS)
	bench/run-wine $(if $(BEFORE),--before $(BEFORE))

clean:
	rm -rf build
