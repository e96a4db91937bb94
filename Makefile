# Two commands for everyday work: `make run` and `make test`.
JOBS ?= $(shell nproc)
RUN_DIR := run
FUZZ_SECONDS ?= 300

.PHONY: all deps build build-asan build-fuzz run test test-normal test-asan test-fuzz test-tsan fuzz bench clean web test-web bench-web test-numerics-long

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

# exp, log and pow against MPFR on NUMERICS_COUNT random arguments each (not
# part of `make test`: 10^9 takes hours), the three functions side by side.
NUMERICS_COUNT ?= 1000000000
test-numerics-long: build
	cd build && for f in Exp Log Pow; do \
	  QV_NUMERICS_COUNT=$(NUMERICS_COUNT) tests/numerics_tests --gtest_filter="CorrectRounding.$${f}OfRandomArguments" & \
	done; fail=0; for j in 1 2 3; do wait -n || fail=1; done; exit $$fail

# libFuzzer targets, with clang and ASan+UBSan; `make fuzz` runs each for
# FUZZ_SECONDS, `make test` for 60 seconds.
build-fuzz: deps
	@test -f build-fuzz/CMakeCache.txt || cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQV_FUZZ=ON -DQV_SANITIZE=OFF -DQV_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzzers

fuzz: build-fuzz
	cd build-fuzz && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest -L fuzz --output-on-failure -j $(JOBS) --timeout $$(( $(FUZZ_SECONDS) + 600 ))

test-fuzz: build-fuzz
	cd build-fuzz && FUZZ_SECONDS=60 ctest -L fuzz --output-on-failure -j $(JOBS) --timeout 600

# The threads of the Euler step under ThreadSanitizer: the engine and its
# bit-for-bit test alone, without Qt, so that it builds in seconds.
TSAN_SOURCES := engine/Euler.cpp engine/StepPool.cpp tests/engine/EulerStepTest.cpp
TSAN_FLAGS := -std=c++17 -O1 -g -fsanitize=thread -ffp-contract=off -Wall -Wextra -Wpedantic -I.
# numerics/ and the row kernels as objects, each vector form built for its instruction set alone.
TSAN_ISA = $(if $(findstring Avx512,$1),-mavx512f -mfma,$(if $(findstring Avx,$1),-mavx))
TSAN_NUMERICS := $(patsubst numerics/%.cpp,build-tsan/numerics/%.o,$(wildcard numerics/*.cpp))
TSAN_ROWS := build-tsan/engine/RowsAvx.o build-tsan/engine/RowsAvx512.o
build-tsan/numerics/%.o: numerics/%.cpp $(wildcard numerics/*.h)
	@mkdir -p build-tsan/numerics
	$(CXX) $(TSAN_FLAGS) $(call TSAN_ISA,$*) -c $< -o $@
build-tsan/engine/%.o: engine/%.cpp $(wildcard engine/*.h numerics/*.h) store/Planet.h
	@mkdir -p build-tsan/engine
	$(CXX) $(TSAN_FLAGS) $(call TSAN_ISA,$*) -c $< -o $@
build-tsan/engine_tsan_tests: $(TSAN_SOURCES) $(TSAN_NUMERICS) $(TSAN_ROWS) $(wildcard engine/*.h) tests/engine/EngineSupport.h tests/engine/PlainLoop.h store/Planet.h
	@mkdir -p build-tsan
	$(CXX) $(TSAN_FLAGS) $(TSAN_SOURCES) $(TSAN_NUMERICS) $(TSAN_ROWS) -lgtest_main -lgtest -pthread -o $@

test-tsan: deps build-tsan/engine_tsan_tests
	TSAN_OPTIONS=halt_on_error=1 build-tsan/engine_tsan_tests

# The browser edition with Debian's emscripten, in its own build folder:
# build-web/quorvane.html (one file) and build-web/quorvane-run.js (Node).
# Emscripten's JavaScript tools need Debian's Node modules (acorn).
WEB_ENV := NODE_PATH=/usr/share/nodejs
web: deps
	@test -f build-web/CMakeCache.txt || $(WEB_ENV) emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=OFF
	$(WEB_ENV) cmake --build build-web -j $(JOBS)

# The web edition's tests: its pure JavaScript, Node against native, and every
# page test in each browser engine (BROWSERS=chromium for one).
BROWSERS ?= chromium firefox webkit
test-web: web build
	@test -d web/node_modules/puppeteer-core || (cd web && npm ci --no-audit --no-fund)
	node --test tests/web/ticker.test.mjs tests/web/keys.test.mjs
	bash tests/web/compare-native.sh build/tools/quorvane-run build-web/quorvane-run.js
	bash tests/web/numerics-cases.sh build/tests/numerics_cases build-web/tests/numerics-cases.js
	@set -e; for b in $(BROWSERS); do for t in tests/web/*.browser.mjs; do \
	  echo "== $$t in $$b"; QV_BROWSER=$$b node $$t build-web build/tools/quorvane-run; done; done

test: test-normal test-asan test-fuzz test-tsan test-web

bench: build
	for b in build/bench/*_bench; do $$b; done

# Ticks per second on one thread: native, Node and headless chromium side by
# side; the time to put a frame on the browser's screen.
bench-web: web build
	for law in 0 1 2; do build/bench/ticks-per-second $$law; done
	build/bench/ticks-per-second --portable
	for law in 0 1 2; do node --no-experimental-fetch build-web/bench/ticks-per-second.js $$law; done
	for law in 0 1 2; do node bench/web/ticks-in-chromium.mjs build-web/bench/ticks-per-second.js $$law; done
	node bench/web/ticks-in-chromium.mjs build-web/bench/ticks-per-second.js --portable
	node bench/web/frame-time.mjs build-web

clean:
	rm -rf build build-asan build-fuzz build-tsan build-web
