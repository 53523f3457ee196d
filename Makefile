# Morvane: two commands lead.
#   make run    install what is missing, build, start the player under Wine
#   make test   install what is missing, build, run the whole suite headless
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PACKAGES := g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 cmake make \
            wine wine64 xvfb xauth x11-utils imagemagick xdotool fonts-wqy-microhei \
            gstreamer1.0-libav gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
            gstreamer1.0-plugins-base ffmpeg libz-mingw-w64-dev googletest python3 zip unzip \
            nlohmann-json3-dev

.PHONY: all deps build prefix media test run screenshots bench soak dist clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

prefix: deps
	@mkdir -p $(BUILD)
	tools/prepare-prefix.sh $(BUILD)

media: deps
	tools/make-media.sh $(BUILD)/media

# Wine's session and its device services start first, kept alive (-p), from a small
# window program with no output of ours: started by a test, they would hold that test's
# output open, and CTest would count it running until the session ends.
test: build prefix media
	WINEPREFIX=$(abspath $(BUILD))/wineprefix MORVANE_BUILD=$(abspath $(BUILD)) tools/with-display.sh sh -c \
	  'wineserver -p </dev/null >/dev/null 2>&1; tools/wine-run $(BUILD)/tests/smoke_test.exe </dev/null >/dev/null 2>&1; \
	   ctest --test-dir $(BUILD) --output-on-failure -j 2'; \
	rc=$$?; WINEPREFIX=$(abspath $(BUILD))/wineprefix wineserver -k 2>/dev/null; exit $$rc

# FILE=path plays a file of yours; without a display the demo clip plays when none is given.
run: build prefix media
	MORVANE_BUILD=$(abspath $(BUILD)) tools/run-player.sh $(BUILD) $(if $(FILE),"$(FILE)")

screenshots: build prefix media
	MORVANE_BUILD=$(abspath $(BUILD)) tools/with-display.sh tools/screenshots.sh $(BUILD)

bench: build prefix media
	MORVANE_BUILD=$(abspath $(BUILD)) tools/with-display.sh tools/bench.sh $(BUILD)

# Random input on the real exe for minutes; not part of make test.
soak: build prefix media
	WINEPREFIX=$(abspath $(BUILD))/wineprefix MORVANE_BUILD=$(abspath $(BUILD)) tools/with-display.sh tools/soak.sh $(BUILD); \
	rc=$$?; WINEPREFIX=$(abspath $(BUILD))/wineprefix wineserver -k 2>/dev/null; exit $$rc

# The version and the exe's path live in the CMake project; its dist target packs.
dist: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target dist

clean:
	rm -rf $(BUILD)
