# The two commands of the README: `make demo` and `make test`; also `make bench`.
BUILD ?= build
JOBS ?= 2
TOOLCHAIN := cmake/mingw-w64-x86_64-posix.cmake

.PHONY: all deps configure build test demo bench install clean

all: build

deps:
	@tools/install-deps

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) \
	    -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	tools/run-suite $(BUILD)

demo: build
	tools/run-demo $(BUILD) out

bench: build
	tools/run-bench $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),$(BUILD)/stage)

clean:
	rm -rf $(BUILD) out
