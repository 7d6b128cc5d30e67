# Varlin: the few commands a developer needs. Everything builds in build/.
BUILD ?= build
JOBS ?= $(shell nproc)
HEADLESS = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
PREFIX ?= /usr/local

.PHONY: deps configure build test run bench install deb clean

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

# Into $(DESTDIR)$(PREFIX), through sudo when that folder is not writable.
install: build
	@dest='$(DESTDIR)$(PREFIX)'; until [ -e "$$dest" ]; do dest=$$(dirname "$$dest"); done; \
	sudo=; [ -w "$$dest" ] || sudo=sudo; \
	$$sudo env DESTDIR='$(DESTDIR)' cmake --install $(BUILD) --prefix '$(PREFIX)' --strip

# The Debian package, written into $(BUILD).
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD)
