# SPDX-License-Identifier: GPL-3.0-or-later
# Kelvorn: make run | make test | make sanitize | make bench | make install | make deb | make clean
#         make format | make format-check | make tidy | make screenshots
BUILD_DIR := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# In CI every compiler warning is an error.
ifeq ($(CI),true)
CMAKE_FLAGS += -DKELVORN_WERROR=ON
endif
SANITIZE_DIR := build-sanitize
JOBS := 2
PREFIX := /usr/local
# The dates in the package and in the files the build writes into it are the last commit's,
# so that every build of one commit gives the same bytes.
DATE_ENV := $(if $(SOURCE_DATE_EPOCH),,$(shell git log -1 --format=SOURCE_DATE_EPOCH=%ct 2>/dev/null))

.PHONY: deps configure build run test sanitize bench install deb screenshots clean format format-check tidy

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@$(DATE_ENV) cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/make-demo-media.sh demo/music
	@bash scripts/make-demo-videos.sh demo
	cd demo && $(abspath $(BUILD_DIR))/kelvorn

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# The unit and screen tests built with AddressSanitizer, UBSan and the standard library's
# assertions, warnings as errors, in their own folder.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVORN_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS) --timeout 900 -L unit

# The sources in the project's style (.clang-format): rewrite them, or only check them.
SOURCES = $(shell git ls-files '*.cpp' '*.h' '*.cc')
format: deps
	@clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)

# The static checks of .clang-tidy over the program's sources (needs the build's
# compile_commands.json).
tidy: configure
	@git ls-files 'src/*.cpp' | xargs -P $(JOBS) -n 8 clang-tidy -p $(BUILD_DIR) --quiet 2>/dev/null

bench: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DKELVORN_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	$(BUILD_DIR)/bench/kelvorn_bench
	bash scripts/bench-program.sh $(BUILD_DIR)/kelvorn

# The program, its user service and desktop entry under $(PREFIX) (DESTDIR=... stages them).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package (files under /usr): $(BUILD_DIR)/kelvorn_<version>-<revision>_<arch>.deb
deb: build
	cd $(BUILD_DIR) && $(DATE_ENV) cpack -G DEB

# The main screen as the AppStream metainfo shows it, from the real program on the demo.
screenshots: build
	@bash scripts/make-demo-media.sh demo/music
	bash scripts/make-screenshot.sh $(BUILD_DIR)/kelvorn demo packaging/screenshots/main.png

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
