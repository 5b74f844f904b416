# Build, run and test tov on Linux: a native tree (the core, its tests, fuzzer
# and benchmark) and a Windows tree (tov.exe and its tests, run under Wine).
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
SECONDS ?= 600

.PHONY: all deps native win build dist reproducible test run screenshots timing fuzz bench format clean

all: build

deps:
	@cmake/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(NATIVE)

win: deps
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	cmake --build $(WIN)

build: native win

# The Windows packages into $(BUILD)/dist: the zip and the installer.
dist: build
	cmake/dist.sh $(BUILD)

# The packages built from scratch twice, in two clones of the commit one
# after the other, compared byte for byte.
reproducible: deps
	tests/dist/reproducible.sh --clean $(BUILD)/reproducible

# Every test layer, on a virtual display of its own; the packages too.
test: dist
	cmake/with-display.sh cmake/run-tests.sh $(BUILD)

# Opens tov.exe on your display, or on a virtual one with a screenshot.
run: win
	cmake/run.sh $(WIN)/tov.exe

# Screenshots of the program into $(BUILD)/screenshots.
screenshots: win
	cmake/with-display.sh cmake/pictures.sh $(WIN) $(BUILD)/screenshots

# What a user waits on the largest inputs under Wine: Next, Prev, load, output.
timing: win
	cmake/with-display.sh cmake/wine-run.sh $(WIN)/tests/win/win_timing.exe

# The file-format and import fuzzers, each for as long as asked: make fuzz SECONDS=3600
fuzz: native
	cmake/fuzz.sh $(NATIVE) $(SECONDS) all

# Write and read the largest possible set, against a plain copy (no sanitizers).
bench: deps
	cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOV_SANITIZE=OFF \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD)/bench --target file_benchmark
	$(BUILD)/bench/tests/bench/file_benchmark

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
