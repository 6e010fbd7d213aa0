# The two commands of the README, and a few more for developers.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: run test setup build fuzz-build sanitize-build bench package clean

run: build
	@scripts/run-main.sh $(BUILD)

test: build fuzz-build sanitize-build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 1200

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DQUILLON_FUZZ_BUILD_DIR=$(abspath $(FUZZ_BUILD)) \
	  -DQUILLON_SANITIZE_BUILD_DIR=$(abspath $(SANITIZE_BUILD)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

fuzz-build: setup
	@scripts/build-fuzz.sh $(abspath $(FUZZ_BUILD))

sanitize-build: setup
	@scripts/build-sanitized.sh $(abspath $(SANITIZE_BUILD))

# A Debian package of the build, in $(BUILD)/ (cmake/Package.cmake).
package: build
	@cd $(BUILD) && cpack --config CPackConfig.cmake

bench: build
	@mkdir -p $(BUILD)/bench/results
	@for b in $(BUILD)/bench/*/bench_*; do [ -x "$$b" ] || continue; \
	  "$$b" --benchmark_out=$(BUILD)/bench/results/$$(basename $$b).json --benchmark_out_format=json || exit 1; done
	@/usr/bin/python3 bench/summary.py $(BUILD)/bench/results/*.json

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD)
