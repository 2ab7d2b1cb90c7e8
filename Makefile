# The front door. `make test` and `make run` work on a fresh Debian 12 machine: they install
# what is missing (scripts/install-deps, one cheap query when nothing is), build, and then test
# or run.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure
# Where `make install` puts the program; DESTDIR (empty) stages the tree elsewhere.
PREFIX ?= /usr/local
DESTDIR ?=
# Extra cmake settings, e.g. CMAKE_FLAGS=-DQUILLARY_WERROR=ON (as CI builds).
CMAKE_FLAGS ?=

.PHONY: all deps build build-sanitize test test-release test-sanitize run bench gallery install package clean

all: build

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
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

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package of the release build, in $(BUILD_DIR)/package.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
