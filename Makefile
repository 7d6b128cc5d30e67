# Varlin: the few commands a developer needs. Everything builds in build/.
BUILD ?= build
JOBS ?= $(shell nproc)
HEADLESS = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
PREFIX ?= /usr/local

# Sanitizer builds, each in its own folder, optimised a little for speed (CMakeLists.txt).
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SEED ?=
SANITIZED = -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
# The tests in which threads meet: the audio engine with its feeder thread and the device
# callback, the player and scrubber on it, decoders on several threads, waveform extraction,
# the system volume and its mixer, export, game controllers, and the lengths of added tracks
# measured on the thread pool.
TSAN_TESTS = AudioEngine AudioFilePlayer SdlAudio \
	Player Scrubber SoundEffect SamplesExtractor LoudnessReading SystemVolume AlsaMixer \
	Exporter GameControllerSet EntryCommands
space = $(subst x, ,x)
TSAN_TARGETS = test_platform test_playback test_waveform test_services test_control test_table

.PHONY: deps configure build test run bench install deb clean sanitize tsan fuzz

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer. The
# end-to-end scenarios run after the rest, one at a time: the instrumented program starts and
# draws several times slower, and run beside other tests on two cores their waits for a window
# or a picture ran out.
sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) $(SANITIZED) -DVARLIN_SANITIZE=address >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS) -LE e2e
	@cd $(ASAN_BUILD) && $(HEADLESS) ctest --output-on-failure -L e2e

# The tests that cross threads under ThreadSanitizer.
tsan: deps
	@cmake -S . -B $(TSAN_BUILD) $(SANITIZED) -DVARLIN_SANITIZE=thread >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TARGETS)
	@cd $(TSAN_BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS) -R '^($(subst $(space),|,$(strip $(TSAN_TESTS))))'

# Each libFuzzer target for FUZZ_SECONDS (clang).
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) $(SANITIZED) -DVARLIN_SANITIZE=fuzz \
		-DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz-targets
	@tests/fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_SEED)

run: build
	@$(BUILD)/src/app/varlin $(ARGS)

bench: build
	@bench/run-all $(BUILD)

# Into $(DESTDIR)$(PREFIX), through sudo when that folder is not writable.
install: build
	@dest='$(DESTDIR)$(PREFIX)'; until [ -e "$$dest" ]; do dest=$$(dirname "$$dest"); done; \
	sudo=; [ -w "$$dest" ] || sudo=sudo; \
	$$sudo env DESTDIR='$(DESTDIR)' cmake --install $(BUILD) --prefix '$(PREFIX)' --strip

# The Debian package, written into $(BUILD).
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
