# make run   installs what is missing, builds and starts Tenmirel
# make test  installs what is missing, builds and runs every test: warnings as
#            errors, again under AddressSanitizer and UndefinedBehaviorSanitizer,
#            and a short run of each fuzzer (catalogue bytes, command-line arguments)
# make package  builds the Debian package build/package/tenmirel_*.deb from the
#            ci build
.PHONY: run test deps build build-ci test-ci test-sanitize fuzz bench package clean

FUZZ_SECONDS ?= 30
JOBS ?= $(shell nproc)

deps:
	@scripts/install-deps

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

run: build
	@scripts/run-program

test-ci: deps
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	ctest --preset ci -j $(JOBS)

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_SECONDS)

test: test-ci test-sanitize fuzz

bench: build
	scripts/run-benchmarks

package: deps
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	cpack --preset package

clean:
	rm -rf build
