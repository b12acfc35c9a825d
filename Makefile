# The two commands of the README, and the extra builds that CI runs.
#   make run    installs what is missing, builds, and runs the game (without a display:
#               a short scripted session on a virtual display, with screenshots)
#   make test   installs what is missing, builds, and runs every test (x11 ones under Xvfb)
JOBS ?= $(shell nproc)
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: run test deps build docs test-sanitize test-shared fuzz bench clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run-game.sh $(BUILD)

test: build
	bash scripts/with-xvfb.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE fuzz

# The API reference of the installed headers, in $(BUILD)/docs/api/html.
docs: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target docs

# Unit and x11 tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-sanitize $(CMAKE_FLAGS) -DCORVEX_SANITIZE=ON -DCORVEX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-sanitize -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 bash scripts/with-xvfb.sh ctest --test-dir build-sanitize --output-on-failure -j $(JOBS) -LE fuzz

# The engine built as shared libraries, installed and used by the install test's programs.
test-shared: deps
	cmake -S . -B build-shared $(CMAKE_FLAGS) -DBUILD_SHARED_LIBS=ON -DCORVEX_TESTS=OFF -DCORVEX_BENCH=OFF
	cmake --build build-shared -j $(JOBS)
	bash tests/install/run.sh build-shared

# The libFuzzer targets, each run for FUZZ_SECONDS from FUZZ_SEED (0: a random seed).
FUZZ_SECONDS ?= 20
FUZZ_SEED ?= 1
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_FLAGS) -DCORVEX_FUZZ=ON -DCORVEX_TESTS=OFF \
	  -DCORVEX_BENCH=OFF -DCORVEX_FUZZ_SECONDS=$(FUZZ_SECONDS) -DCORVEX_FUZZ_SEED=$(FUZZ_SEED) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
	ctest --test-dir build-fuzz --output-on-failure -L fuzz

bench: build
	bash scripts/with-xvfb.sh bash scripts/run-benchmarks.sh $(BUILD)

clean:
	rm -rf build build-sanitize build-shared build-fuzz
