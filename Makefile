# Tarnwell's front door. The work is done by scripts/build (configure, build,
# test) and scripts/wine-run (Wine); see README.md.
#
#   make run          build the Windows program (i686) and run it under Wine
#   make test         install what is missing, then every build and its tests
#   make test-native  the native Debug build and its tests only (no Wine)
#   make test-asan    the native build with ASan and UBSan, and its tests
#   make test-win32   the i686 Windows build and its tests under Wine
#   make test-win64   the x86_64 Windows build and its tests under wine64
#   make build-CONFIG build one tree without testing (native, asan, win32, win64)
#   make deps         install what is missing (scripts/install-deps)
#   make format       clang-format the C++ sources in place
#   make clean        stop Wine and remove build/

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
export JOBS

# What `make run` starts, from build/win32.
RUN_TARGET ?= tarnwell-cli
RUN_EXE ?= cli/tarnwell-cli.exe
RUN_ARGS ?= list

BUILD := scripts/build

.NOTPARALLEL:
.PHONY: help run deps test test-native test-asan test-win32 test-win64 format clean \
	build-native build-asan build-win32 build-win64

help:
	@sed -n '4,14p' Makefile | sed 's/^# \{0,1\}//'

deps:
	scripts/install-deps

run: deps
	$(BUILD) build win32 $(RUN_TARGET)
	scripts/wine-run build/win32/$(RUN_EXE) $(RUN_ARGS)

test: deps
	$(BUILD) test native asan win32

test-native:
	$(BUILD) test native

test-asan:
	$(BUILD) test asan

test-win32: deps
	$(BUILD) test win32

test-win64: deps
	$(BUILD) test win64

build-native build-asan:
	$(BUILD) build $(@:build-%=%)

build-win32 build-win64: deps
	$(BUILD) build $(@:build-%=%)

FORMAT_DIRS := actions app bench cli gui inventory platform tests

format:
	find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null | xargs -0 -r clang-format -i

clean:
	-for d in build/*/; do [ -d "$$d/wineprefix" ] && scripts/wine-run --stop "$$d"; done; true
	rm -rf build
