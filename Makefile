# Tarnwell's front door. The work is done by scripts/build (configure, build,
# test) and scripts/wine-run (Wine); see README.md.
#
#   make run          build the Windows program (i686) and run it under Wine
#   make screenshot   run the GUI tests under Xvfb and save PNGs of the windows
#   make test         install what is missing, then every build and its tests
#   make test-native  the native Debug build and its tests only (no Wine)
#   make test-asan    the native build with ASan and UBSan, and its tests
#   make test-win32   the i686 Windows build and its tests under Wine
#   make test-win64   the x86_64 Windows build and its tests under wine64
#   make build-CONFIG build one tree without testing (native, asan, win32, win64)
#   make fuzz         build the fuzz targets with clang and run each FUZZ_RUNS
#                     times (default 1000000); not part of make test
#   make bench        build the Windows program and print its benchmark tables
#   make deps         install what is missing (scripts/install-deps)
#   make dist         the release archive dist/tarnwell-VERSION-win32.zip
#   make format       clang-format the C++ sources in place
#   make clean        stop Wine and remove build/

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
export JOBS

# What `make run` starts, from build/win32.
RUN_TARGET ?= tarnwell
RUN_EXE ?= gui/win32/tarnwell.exe
RUN_ARGS ?=
SCREENSHOT := build/win32/tests/gui/gui-run/tarnwell-main-window.png
# The secondary windows' pictures: the about box, "Substitute Drive",
# "Optical Information", "SMART Information" (healthy and failing disk),
# "Disk Information", "USB Drives", "Volumes".
SCREENSHOTS := build/win32/tests/gui/gui-unit-run

BUILD := scripts/build

.NOTPARALLEL:
.PHONY: help run screenshot deps dist test test-native test-asan test-win32 test-win64 fuzz format clean bench \
	build-native build-asan build-win32 build-win64

help:
	@sed -n '4,19p' Makefile | sed 's/^# \{0,1\}//'

deps:
	scripts/install-deps

run: deps
	$(BUILD) build win32 $(RUN_TARGET)
	@if [ -z "$${DISPLAY:-}" ]; then \
		echo "make run: no display here. 'make screenshot' runs the window under Xvfb and saves $(SCREENSHOT);"; \
		echo "make run: the drive list as text is: scripts/wine-run build/win32/cli/tarnwell-cli.exe list"; \
	else \
		scripts/wine-run build/win32/$(RUN_EXE) $(RUN_ARGS); \
	fi

screenshot: deps
	$(BUILD) build win32
	cd build/win32 && ctest -R '^tarnwell_gui(_tests)?$$' --output-on-failure
	@echo "screenshot: $(SCREENSHOT)"
	@echo "screenshots of the other windows: $(SCREENSHOTS)/*.png"

test: deps
	$(BUILD) test native asan win32

dist: deps
	$(BUILD) build win32 tarnwell
	$(BUILD) build win32 tarnwell-cli
	scripts/make-dist build/win32 dist

test-native:
	$(BUILD) test native

test-asan:
	$(BUILD) test asan

test-win32: deps
	$(BUILD) test win32

test-win64: deps
	$(BUILD) test win64

fuzz:
	scripts/fuzz

build-native build-asan:
	$(BUILD) build $(@:build-%=%)

build-win32 build-win64: deps
	$(BUILD) build $(@:build-%=%)

bench: deps
	$(BUILD) build win32
	bench/run-all build/win32

format:
	scripts/format

clean:
	-for d in build/*/; do [ -d "$$d/wineprefix" ] && scripts/wine-run --stop "$$d"; done; true
	rm -rf build dist
