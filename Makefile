# make run   - install what is missing, build, start the viewer
# make test  - install what is missing, build, run every test
# make package - the same build, packed as a Debian package in $(BUILD)/
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Glyfaro2

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/bench_catalog
	$(BUILD)/bin/bench_startup
	$(BUILD)/bin/bench_printing

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
