# Varlin: the few commands a developer needs. Everything builds in build/.
BUILD ?= build
JOBS ?= $(shell nproc)
HEADLESS = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

.PHONY: deps configure build test run bench clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/src/app/varlin $(ARGS)

bench: build
	@bench/run-all $(BUILD)

clean:
	@rm -rf $(BUILD)
