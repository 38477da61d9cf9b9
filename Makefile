# Thin wrapper over CMake. `make demo` runs the main job on the bundled
# example; `make test` builds and runs every test.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= 2

.PHONY: all build demo test test-sanitize clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Any sanitizer report aborts the test that made it, so it fails.
test-sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)

demo: build
	sh examples/run-demo.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) demo-out
