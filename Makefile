# The project's commands. `make test` is what CI runs.
SHELL := /bin/bash
ROOT := $(abspath .)
B := $(ROOT)/build
JOBS ?= 2

.PHONY: all deps build native native-san i686 x86_64 test test-native test-win32 compile-check screenshots bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps i686 x86_64 native native-san

# A tree is configured again, from a fresh cache, whenever its options change.
define configure
	@bash scripts/configure.sh $(B)/$(1) -DCMAKE_BUILD_TYPE=$(2) $(3)
endef

i686:
	$(call configure,cmake-i686,Release,-DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-i686.cmake -DPW_OUTPUT_DIR=$(B)/i686)
	@cmake --build $(B)/cmake-i686 -j $(JOBS) -- --no-print-directory

x86_64:
	$(call configure,cmake-x86_64,Release,-DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-x86_64.cmake -DPW_OUTPUT_DIR=$(B)/x86_64)
	@cmake --build $(B)/cmake-x86_64 -j $(JOBS) -- --no-print-directory

native:
	$(call configure,native,RelWithDebInfo,)
	@cmake --build $(B)/native -j $(JOBS) -- --no-print-directory

native-san:
	$(call configure,native-san,Debug,-DPW_SANITIZE=ON)
	@cmake --build $(B)/native-san -j $(JOBS) -- --no-print-directory

test: build
	@bash scripts/run-tests.sh

compile-check: native
	@bash scripts/compile-check.sh

screenshots: deps i686 x86_64
	@PW_SCREEN=3840x2160 bash scripts/testbed.sh bash scripts/screenshots.sh

bench: deps x86_64
	$(call configure,bench,Release,-DPW_BENCH=ON)
	@cmake --build $(B)/bench -j $(JOBS) -- --no-print-directory
	@bash scripts/run-bench.sh

fuzz: deps
	@bash scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(B)/cmake-* $(B)/native* $(B)/bench $(B)/i686 $(B)/x86_64
