# The two commands a user needs: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= /usr/local
# The sanitizer build keeps a folder of its own, so neither rebuilds the other.
ASAN_BUILD ?= build-asan

.PHONY: deps build run test asan fuzz bench format format-check install package clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j 2

run: build
	cd $(BUILD)/bin && ./lorvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Leaks are reported too (LeakSanitizer is part of ASan); the few known ones are
# listed, each with its reason, in tests/lsan.supp. Any other finding makes the
# test that caused it fail.
ASAN_OPTIONS ?= check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:strict_string_checks=1
UBSAN_OPTIONS ?= print_stacktrace=1
LSAN_OPTIONS ?= suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
asan:
	@ASAN_OPTIONS=$(ASAN_OPTIONS) UBSAN_OPTIONS=$(UBSAN_OPTIONS) LSAN_OPTIONS=$(LSAN_OPTIONS) $(MAKE) --no-print-directory test BUILD=$(ASAN_BUILD) \
	  CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DLORVANE_SANITIZE=ON -DLORVANE_BENCH=OFF $(ASAN_FLAGS)"

# The readers of outside files fuzzed with libFuzzer (clang), in a folder of its
# own where only the core library and the targets are built; each target runs
# FUZZ_SECONDS on a copy of its seeds in tests/fuzz/corpus. Any crash, hang,
# leak, undefined behaviour or broken check fails, its input kept beside the log.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 2
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DLORVANE_FUZZ=ON \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(FUZZ_JOBS) --target fuzz_targets
	@bash tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	QT_QPA_PLATFORM=offscreen bash bench/run_all $(BUILD)/bench

# `make build` first, then `sudo make install`: installing only copies, so the
# build folder never fills with files that belong to root.
install:
	@test -f $(BUILD)/build.ninja || { echo "make install: run 'make build' first"; exit 1; }
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX) --strip

package: build
	cd $(BUILD) && cpack --config CPackConfig.cmake

SOURCES = $(shell find src tests tools bench -name '*.cpp' -o -name '*.h' | sort)

format:
	@clang-format -i $(SOURCES)

# Fails, naming the lines, when a file is not as clang-format would write it,
# or names the files that do not begin with their licence line.
format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)
	@missing=$$(for f in $(SOURCES); do head -n 1 "$$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$$f"; done); \
	  if [ -n "$$missing" ]; then echo "no SPDX licence line:"; echo "$$missing"; exit 1; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
