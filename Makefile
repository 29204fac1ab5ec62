# Quick start: `make run` builds and starts Quillory (optimised, nothing else), `make test` builds and
# runs every test.
# Each target first installs whatever Debian packages are missing (scripts/install-deps).

BENCH_ARGS ?=
FUZZ_SECONDS ?= 60
CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps build run test test-asan bench fuzz install package format clean

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f build/dev/build.ninja || $(CMAKE) --preset dev
	$(CMAKE) --build --preset dev

run: deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory names_db
	build/release/bin/quillory

test: build
	$(CTEST) --preset dev

test-asan: deps
	@test -f build/asan/build.ninja || $(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

bench: deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory-bench
	build/release/bench/quillory-bench $(BENCH_ARGS)

fuzz: deps
	@test -f build/fuzz/build.ninja || $(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz --target quillory-fuzzers
	tests/fuzz/run-fuzzers build/fuzz/tests/fuzz $(FUZZ_SECONDS)

install: deps
	@test -f build/release/build.ninja || $(CMAKE) --preset release
	$(CMAKE) --build --preset release --target quillory quillory-man quillory-cli quillory-cli-man names_db births \
		quillory-changelog
	$(CMAKE) --install build/release $(if $(PREFIX),--prefix $(PREFIX),)

package: deps
	@test -f build/package/build.ninja || $(CMAKE) --preset package
	$(CMAKE) --build --preset package
	cd build/package && cpack
	scripts/check-package build/package/quillory_$$(sed -n 's/^project(Quillory VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)_amd64.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
