# The two commands a user needs: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= /usr/local

.PHONY: deps build run test bench install package clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j 2

run: build
	cd $(BUILD)/bin && ./lorvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2

bench: build
	QT_QPA_PLATFORM=offscreen bash bench/run_all $(BUILD)/bench

# `make build` first, then `sudo make install`: installing only copies, so the
# build folder never fills with files that belong to root.
install:
	@test -f $(BUILD)/build.ninja || { echo "make install: run 'make build' first"; exit 1; }
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX) --strip

package: build
	cd $(BUILD) && cpack --config CPackConfig.cmake

clean:
	rm -rf $(BUILD)
