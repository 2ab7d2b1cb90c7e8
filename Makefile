# The front door. `make test` and `make run` work on a fresh Debian 12 machine: they install
# what is missing (scripts/install-deps, one cheap query when nothing is), build, and then test
# or run.
BUILD_DIR ?= build
# The release build's type; CI passes Release, whose -O3 shows warnings that -O2 does not.
BUILD_TYPE ?= RelWithDebInfo
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure
# Where `make install` puts the program; DESTDIR (empty) stages the tree elsewhere.
PREFIX ?= /usr/local
DESTDIR ?=
# The fuzz build (clang, libFuzzer, ASan and UBSan) and how long `make fuzz` runs each target.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
# Extra cmake settings, e.g. CMAKE_FLAGS=-DQUILLARY_WERROR=ON (as CI builds).
CMAKE_FLAGS ?=

.PHONY: all deps build build-sanitize test test-release test-sanitize run bench gallery fuzz install package clean

all: build

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILLARY_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)

test-release: build
	ctest --test-dir $(BUILD_DIR) $(CTEST_FLAGS)

test-sanitize: build-sanitize
	ctest --test-dir $(SANITIZE_DIR) $(CTEST_FLAGS)

test: test-release test-sanitize

run: build
	bash scripts/run

gallery: build
	$(BUILD_DIR)/gallery/quillary-gallery

bench: build
	bash bench/run-all

# Builds the fuzz targets in their own folder and runs each for FUZZ_SECONDS; not part of
# `make test`. fuzz/README.md says what the targets check and what they found.
fuzz: deps
	bash scripts/install-deps fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLARY_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) --target fuzzers -j $(JOBS)
	bash fuzz/run $(FUZZ_DIR) $(FUZZ_SECONDS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package of the release build, in $(BUILD_DIR)/package.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
