# Corvella: `make run` builds and starts the program, `make test` builds and
# runs every test. Both set up what a fresh Debian 12 machine lacks.
BUILD      ?= build
NATIVE     := $(BUILD)/native
WIN32      := $(BUILD)/win32
JOBS       ?= $(shell nproc)
export CORVELLA_WINEPREFIX := $(abspath $(BUILD))/wineprefix
export LANG := en_US.UTF-8
export WINEDEBUG := -all

.PHONY: all deps configure build test test-native test-win32 run bench clean

all: build

deps:
	@CORVELLA_LAME_DIR=$(abspath $(BUILD))/lame sh tools/setup-deps.sh

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug

# A cache keeps the compilers it was made with: a changed toolchain file
# needs a tree of its own.
$(WIN32)/CMakeCache.txt: cmake/mingw-i686.cmake
	rm -rf $(WIN32)
	cmake -S . -B $(WIN32) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-i686.cmake)

configure: deps $(NATIVE)/CMakeCache.txt $(WIN32)/CMakeCache.txt

build: configure
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WIN32) -j $(JOBS)

test-native: build
	ctest --test-dir $(NATIVE) -j $(JOBS) --output-on-failure

# Window tests need a display: one Xvfb for the whole run, stopped after.
test-win32: build
	sh tools/with-xvfb.sh ctest --test-dir $(WIN32) -j 4 --output-on-failure

test: test-native test-win32

run: build
	sh tools/run.sh $(WIN32)/bin $(abspath $(BUILD))/corvella-main-window.png

bench: build
	sh tools/with-xvfb.sh sh tools/bench.sh $(NATIVE) $(WIN32)

clean:
	rm -rf $(BUILD)
