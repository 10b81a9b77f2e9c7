# One entry point for a new machine: `make run` and `make test` install what
# is missing, build and go.
BUILD ?= build
TYPE ?= Debug
JOBS ?= 2

.PHONY: deps configure build run test data bench clean

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

bench: deps
	@bench/run

clean:
	rm -rf $(BUILD)
