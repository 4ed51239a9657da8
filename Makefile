# The project's commands. `make test` is what CI runs.
SHELL := /bin/bash
# Every use of these is quoted: a checkout's folder may hold spaces, which
# $(abspath) would split at.
ROOT := $(CURDIR)
B := $(ROOT)/build
JOBS ?= 2

.PHONY: all deps build native native-san i686 x86_64 programs dist dist-check test test-native test-win32 compile-check screenshots bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps i686 x86_64 native native-san

# A tree is configured again, from a fresh cache, whenever its options change.
define configure
	@bash scripts/configure.sh "$(B)/$(1)" -DCMAKE_BUILD_TYPE=$(2) $(3)
endef

# A Windows build (i686 or x86_64), with its tests or, given a target, only that.
define windows
	$(call configure,cmake-$(1),Release,"-DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-$(1).cmake" "-DPW_OUTPUT_DIR=$(B)/$(1)")
	@cmake --build "$(B)/cmake-$(1)" -j $(JOBS) $(2) -- --no-print-directory
endef

i686:
	$(call windows,i686)

x86_64:
	$(call windows,x86_64)

# Both programs without the tests: all that a release needs.
programs: deps
	$(call windows,i686,--target promptwright)
	$(call windows,x86_64,--target promptwright)

# The downloads under dist/: a zip per architecture, SHA256SUMS, the winget and
# Scoop manifests. RELEASE_URL is the address the zips are published under;
# SIGN, a command that signs each program before it is zipped (the README's
# "Signing a release"), reaches scripts/dist.py in the environment.
dist: programs
	@[ -n "$(RELEASE_URL)" ] || echo "make dist: RELEASE_URL is not set, so the manifests name no download address (make dist RELEASE_URL=https://...)"
	@python3 scripts/dist.py --out "$(ROOT)/dist" --release-url '$(RELEASE_URL)'

# Two clones of the last commit in two folders, `make dist` in each: the same bytes?
dist-check: deps
	@bash scripts/dist-check.sh

native:
	$(call configure,native,RelWithDebInfo,)
	@cmake --build "$(B)/native" -j $(JOBS) -- --no-print-directory

native-san:
	$(call configure,native-san,Debug,-DPW_SANITIZE=ON)
	@cmake --build "$(B)/native-san" -j $(JOBS) -- --no-print-directory

test: build
	@bash scripts/run-tests.sh

compile-check: native
	@bash scripts/compile-check.sh

screenshots: deps i686 x86_64
	@PW_SCREEN=3840x2160 bash scripts/testbed.sh bash scripts/screenshots.sh

bench: deps x86_64
	$(call configure,bench,Release,-DPW_BENCH=ON)
	@cmake --build "$(B)/bench" -j $(JOBS) -- --no-print-directory
	@bash scripts/run-bench.sh

fuzz: deps
	@bash scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf "$(B)"/cmake-* "$(B)"/native* "$(B)/bench" "$(B)/i686" "$(B)/x86_64"
