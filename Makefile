# Two commands for everyday work: `make run` and `make test`.
JOBS ?= $(shell nproc)
GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
RUN_DIR := run

.PHONY: all deps build build-asan run test test-normal test-asan bench clean

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	@test -f build/CMakeCache.txt || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS)

build-asan: deps
	@test -f build-asan/CMakeCache.txt || cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BENCH=OFF
	cmake --build build-asan -j $(JOBS)

# The program reads Quorvane.ini from its working directory: run it in run/,
# seeded once with the example systems, so later edits are kept there.
run: build
	@mkdir -p $(RUN_DIR)
	@test -f $(RUN_DIR)/Quorvane.ini || cp examples/Quorvane.ini $(RUN_DIR)/Quorvane.ini
	cd $(RUN_DIR) && ../build/app/quorvane

test-normal: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

test: test-normal test-asan

bench: build
	for b in build/bench/*_bench; do $$b; done

clean:
	rm -rf build build-asan
