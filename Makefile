# The two commands of the README, each complete on a fresh Debian machine:
#   make run    builds and runs the console host on its default store
#   make test   builds and runs every test
# and the rest of the project's jobs.

.PHONY: run test test-asan build build-asan fuzz fuzz-build bench deps clean

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

deps:
	@scripts/install-deps

build: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

run: build
	@build/bin/ngt-console $(ARGS)

# The store's tests run on PostgreSQL too, in a throwaway cluster, when it is installed.
test: build
	@scripts/with-postgresql --or-without ctest --preset release -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

test-asan: build-asan
	@scripts/with-postgresql --or-without ctest --preset asan -j $(JOBS)

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS) --target fuzz_params

# Runs the container fuzzer for FUZZ_SECONDS on the seed corpus that the tests
# write (make test first); any finding fails.
fuzz: fuzz-build
	@scripts/run-fuzzer build-fuzz/bin/fuzz_params build/fuzz-seeds $(FUZZ_SECONDS)

bench: build
	@scripts/with-postgresql --or-without build/bin/zr_bench

clean:
	rm -rf build build-asan build-fuzz build-packager
