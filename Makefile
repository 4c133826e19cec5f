# IronMoat: the two commands a player or developer needs.
#   make play   install what is missing, build, pack the data, start the game
#   make test   the same set-up, then every test (normal, ASan/UBSan, TSan,
#               the Windows build under Wine)
#   make install   install the game and its tools under PREFIX (DESTDIR honoured)
#   make deb       build the Debian package into dist/
#   make windows   the Windows release, dist/ironmoat-windows-x86_64.zip

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
WIN_BUILD  ?= build-windows
WIN_ZIP    ?= dist/ironmoat-windows-x86_64.zip
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
WERROR     ?= ON
PREFIX     ?= /usr/local

# Debian packages the project needs to build, test and run.
PACKAGES := cmake make g++ libsfml-dev libgtest-dev libgmock-dev googletest \
  libbenchmark-dev zlib1g-dev fonts-sil-charis xvfb xauth xdotool x11-utils \
  x11-apps imagemagick libx11-dev libxtst-dev clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64-posix valgrind libgl1-mesa-dri pkgconf libfuse3-dev \
  dpkg-dev fakeroot file lintian desktop-file-utils appstream man-db \
  libz-mingw-w64-dev wine64 zip unzip

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all build deps configure play edit install deb test test-unit test-asan test-tsan \
  windows windows-deps test-windows sheet levels-sheet screenshots fuzz fuzz-smoke soak \
  valgrind bench clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DIRONMOAT_WERROR=$(WERROR) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)
	@mkdir -p $(BUILD)/game/logs $(BUILD)/game/maps $(BUILD)/game/data

play: build
	cd $(BUILD)/game && ./ironmoat

# The game, its archives and tools, the launcher `ironmoat`, the menu entry,
# icons, AppStream metadata and manual pages under PREFIX; DESTDIR stages
# the whole tree elsewhere (as packagers do).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The same installation under /usr as a Debian package, dist/ironmoat_*.deb.
deb: build
	cd $(BUILD) && cpack -G DEB -B $(CURDIR)/dist
	rm -rf dist/_CPack_Packages

# The map editor, from the same runtime folder; MAP=maps/NAME.mtc opens one.
MAP ?=
edit: build
	cd $(BUILD)/game && ./ironmoat-editor $(MAP)

# Runs a command under an X server: the caller's display when there is one,
# else a private Xvfb with Mesa's software OpenGL.
XRUN = tools/scripts/with-display.sh

test: build
	# A test that fails is run once more before the run fails: the editor's
	# end-to-end test, driven by real X input, has failed now and then on a
	# busy machine; the failure still shows in the output.
	$(XRUN) sh -c 'cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600 --repeat until-pass:2 -LE "soak|valgrind"'
	$(XRUN) sh -c 'cd $(BUILD) && ctest --output-on-failure -L "soak|valgrind"'
	$(MAKE) test-windows
	$(MAKE) test-asan
	$(MAKE) test-tsan
	$(MAKE) fuzz-smoke

test-unit: build
	$(XRUN) sh -c 'cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600 -LE "soak|valgrind"'

# The real game under random keyboard input for both players for
# SOAK_SECONDS (30 minutes unless given), starting a two-player match each
# time the menu is back; fails when the game dies, stops drawing frames for
# 10 s, or its resident memory ends more than 5 % above the first minute's.
SOAK_SECONDS ?= 1800

soak: build
	IRONMOAT_SOAK_SECONDS=$(SOAK_SECONDS) $(XRUN) $(BUILD)/tests/test_e2e_long --gtest_filter='E2eSoak.*'

# A short two-player match of the real game under valgrind's memcheck (Mesa's
# softpipe renderer): fails on any definitely lost block or memory error
# outside the third-party libraries that tools/sanitizers/valgrind.supp names.
valgrind: build
	$(XRUN) $(BUILD)/tests/test_e2e_long --gtest_filter='E2eValgrind.*'

# Address and undefined-behaviour sanitizers over the whole suite except the
# end-to-end runs of the real executable (the release build covers those).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DIRONMOAT_WERROR=$(WERROR) -DCMAKE_BUILD_TYPE=Debug \
	  -DIRONMOAT_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	# Suites without a window: every sanitizer, leak checking included.
	ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(XRUN) sh -c 'cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900 -LE "e2e|display"'
	# Suites that open a window: Mesa's software renderer keeps allocations
	# from code without symbols that no suppression can name, so leak checking
	# is off there; memory errors and undefined behaviour still fail the run.
	ASAN_OPTIONS=abort_on_error=1:detect_leaks=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(XRUN) sh -c 'cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900 -L display -LE e2e'

# ThreadSanitizer over the suites with threads of their own.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DIRONMOAT_WERROR=$(WERROR) -DCMAKE_BUILD_TYPE=Debug \
	  -DIRONMOAT_SANITIZE=thread $(CMAKE_FLAGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_core test_common
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tools/sanitizers/tsan.supp \
	  $(XRUN) sh -c 'cd $(TSAN_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900 -L threads -R "^(Core|Common|Thread|Logger|Weak|Blocking|Resource|Tick)"'

# libFuzzer targets (clang, ASan/UBSan) over the archive reader, the level
# reader and map checker, the UTF-8 conversions, path normalization and
# `pyxarc verify`. Runs in a temporary folder; crashing inputs are kept under
# build-fuzz/artifacts/. FUZZ_SECONDS is per target; FUZZ_TARGETS picks some
# (default all). The game's built archives join the seeds when they exist.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

fuzz: deps
	FUZZ_DATA=$(abspath $(BUILD))/game/data tools/fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_TARGETS)

fuzz-smoke: deps
	FUZZ_DATA=$(abspath $(BUILD))/game/data tools/fuzz/run.sh 10

# The Windows build, cross-compiled with mingw-w64: SFML and FreeType are
# built once from Debian's source packages into $(WIN_BUILD)/deps (kept
# there, so later runs skip it), the game and its Windows platform layer in
# $(WIN_BUILD)/game; the archives are the ones the host build packs.
WIN_CMAKE = cmake -S . -B $(WIN_BUILD)/game \
  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
  -DIRONMOAT_WINDOWS_PREFIX=$(abspath $(WIN_BUILD))/deps/prefix \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(CURDIR)/tools/scripts/wine-run.sh;$(abspath $(WIN_BUILD))/wine" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIRONMOAT_WERROR=$(WERROR) $(CMAKE_FLAGS)

windows-deps: deps
	JOBS=$(JOBS) tools/scripts/windows-deps.sh $(WIN_BUILD)

windows: configure windows-deps
	cmake --build $(BUILD) -j $(JOBS) --target game_data
	@[ -f $(WIN_BUILD)/game/CMakeCache.txt ] || $(WIN_CMAKE)
	cmake --build $(WIN_BUILD)/game -j $(JOBS) --target ironmoat
	tools/scripts/windows-package.sh $(WIN_BUILD)/game/game/ironmoat.exe \
	  $(BUILD)/game/data $(WIN_ZIP)

# The engine's suites that need no window, cross-built and run under Wine,
# then the game from the unpacked zip as a player runs it (Wine under a
# private Xvfb): menu, a match, a map of maps\, the close box.
test-windows: windows
	cmake --build $(WIN_BUILD)/game -j $(JOBS) --target windows_tests
	cmake --build $(BUILD) -j $(JOBS) --target test_wine
	tools/scripts/test-windows.sh $(BUILD) $(WIN_BUILD) $(WIN_ZIP)

# A contact sheet of every picture, frame by frame, at its own size and at the
# size the default window draws it.
sheet: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target assetgen
	@mkdir -p docs/images
	$(BUILD)/tools/assetgen/assetgen --sheet docs/images/assets.png

# Every campaign level on one sheet for the README, each with its number and
# the name from data/levels/LEVELS.md, drawn with the game's own pictures from
# its built archives under an X server (a private Xvfb when DISPLAY is unset).
levels-sheet: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target ironmoat-mapcheck game_data
	@mkdir -p docs/images
	$(XRUN) $(BUILD)/tools/mapcheck/ironmoat-mapcheck --sheet docs/images/levels.png \
	  --names data/levels/LEVELS.md data/levels/Dunmark-level-*.mtc

# Pictures of the menu and of a match in progress for the README, taken from
# the real game under an X server (a private Xvfb when DISPLAY is unset).
screenshots: build
	tools/scripts/screenshots.sh $(BUILD)

# Figures of a busy match, the archives, menu and game frames, the game's
# start-up, idle CPU and memory, each beside its floor from the same run,
# from the runtime folder so the real executable and archives are used. Not
# a test. Prints a table and writes $(BUILD)/game/bench.json.
bench: build
	$(XRUN) sh -c 'cd $(BUILD)/game && ../tools/bench/ironmoat-bench --json bench.json'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(WIN_BUILD) dist
