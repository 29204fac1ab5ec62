# Quick start: `make run` builds both programs (optimised, nothing else) and starts Quillory,
# `make test` builds and runs every test.
# Each target first installs whatever Debian packages it needs and are missing (scripts/install-deps).

BENCH_ARGS ?=
FUZZ_SECONDS ?= 60
CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps run-deps build run test test-asan bench check-memory fuzz install package format clean

all: build

deps:
	@scripts/install-deps

run-deps:
	@scripts/install-deps run

build: deps
	@test -f build/dev/build.ninja || $(CMAKE) --preset dev
	$(CMAKE) --build --preset dev

run: run-deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory quillory-cli names_db births quillory-man quillory-cli-man
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
		echo "make run: Quillory needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set."; \
		echo "make run: both programs are built in build/release/bin; quillory-cli needs none: build/release/bin/quillory-cli -n 5"; \
		exit 1; \
	fi
	build/release/bin/quillory

test: build
	$(CTEST) --preset dev

test-asan: deps
	@test -f build/asan/build.ninja || $(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

bench: deps
	$(CMAKE) --preset release -DQUILLORY_BUILD_BENCH=ON > /dev/null
	$(CMAKE) --build --preset release --target quillory-bench
	build/release/bench/quillory-bench $(BENCH_ARGS)

check-memory: deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory-cli names_db births
	scripts/check-memory build/release/bin

fuzz: deps
	@test -f build/fuzz/build.ninja || $(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz --target quillory-fuzzers
	tests/fuzz/run-fuzzers build/fuzz/tests/fuzz $(FUZZ_SECONDS)

install: run-deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory quillory-man quillory-cli quillory-cli-man names_db births \
		quillory-changelog $(if $(wildcard build/release/python),quillory_python,)
	$(CMAKE) --install build/release $(if $(PREFIX),--prefix $(PREFIX),)

package: deps
	@test -f build/package/build.ninja || $(CMAKE) --preset package
	$(CMAKE) --build --preset package
	cd build/package && cpack
	version=$$(sed -n 's/^project(Quillory VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt); \
	scripts/check-package build/package/quillory_$${version}_amd64.deb build/package/python3-quillory_$${version}_amd64.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
