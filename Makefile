# The everyday commands. `make run` starts the desktop program, `make test`
# builds and runs every test. Both install what is missing first.

JOBS       ?= 2
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_ARGS ?=
# ccache, when installed, makes rebuilds of other checkouts nearly free;
# paths relative to the checkout keep its entries valid across checkouts.
LAUNCHER   := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)

.PHONY: all setup configure build programs run install test asan bench fuzz clean

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(LAUNCHER) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only the two programs, so the window opens without building the tests.
programs: configure
	cmake --build $(BUILD) -j $(JOBS) --target tesmora tesmora-run

run: programs
	@if [ -z "$$DISPLAY" ]; then \
	  echo "No display (\$$DISPLAY is not set), so the desktop program cannot open its window."; \
	  echo "Run programs without a window with the headless runner instead, e.g.:"; \
	  echo "  $(BUILD)/src/cli/tesmora-run -e '~[2, 1; 1, 1]'"; \
	  echo "  $(BUILD)/src/cli/tesmora-run --json examples/<program>.tsm"; \
	  echo "  $(BUILD)/src/cli/tesmora-run --help"; \
	else \
	  $(BUILD)/src/app/tesmora $(FILE); \
	fi

# Installs into PREFIX (default /usr/local): programs, examples, desktop
# entry, icon and the MIME type of .tsm files.
PREFIX ?= /usr/local
install: programs
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

asan: setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DTESMORA_SANITIZE=ON $(LAUNCHER) $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Both libFuzzer targets (tests/fuzz), FUZZ_SECONDS each, under ASan and
# UBSan; fails on any finding.
fuzz:
	@bash scripts/setup.sh --fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DTESMORA_SANITIZE=ON -DTESMORA_FUZZ=ON \
	  $(LAUNCHER) $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target tesmora_fuzz_run tesmora_fuzz_loaders
	tests/fuzz/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@if [ -x bench/run.sh ]; then bench/run.sh; \
	elif [ -f bench/run.sh ]; then bash bench/run.sh; \
	else echo "bench/run.sh does not exist yet."; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
