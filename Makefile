# Lumivert: `make run` opens the window, `make test` runs every test. Both install what the
# project needs first.
BUILD         ?= build
ASAN_BUILD    ?= build-asan
TSAN_BUILD    ?= build-tsan
RELEASE_BUILD ?= build-release
FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 60
JOBS          ?= $(shell nproc)
DEMO          := $(BUILD)/demo

# Warnings are errors in every build the project makes for itself.
OWN_CHECKS := -DLUMIVERT_WERROR=ON

.PHONY: all deps build run test bench asan tsan check-style fuzz release package screenshots format lint clean \
        demo-pictures demo-asc

all: build

deps:
	@scripts/install-deps

# Configured again when this file changes, so that an older build folder gets its options.
$(BUILD)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD) -G Ninja $(OWN_CHECKS) -DLUMIVERT_BENCH=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@[ -d $(DEMO) ] || cp -r demo $(DEMO)
	cd $(DEMO) && $(CURDIR)/$(BUILD)/app/lumivert

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for program in $(BUILD)/bench/*_bench; do echo "== $$program"; $$program || exit 1; done

asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja $(OWN_CHECKS) -DLUMIVERT_SANITIZE=ON -DLUMIVERT_BENCH=OFF \
	    -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# The threaded code under ThreadSanitizer: the serial component with its reader and writer,
# the transfers over it, the stand-in module, and the window that drives them.
TSAN_TESTS := serial_tests transfer_tests window_tests virtual-module
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja $(OWN_CHECKS) -DLUMIVERT_TSAN=ON -DLUMIVERT_BENCH=OFF \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1:suppressions=$(CURDIR)/tests/tsan.supp \
	    ctest --output-on-failure -j $(JOBS) -R '^(serial_tests|transfer_tests|window)\.'

# The build a Debian package gets: optimised, with Debian's default compiler and linker
# flags (hardening included), without the tests.
release: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja $(OWN_CHECKS) -DCMAKE_BUILD_TYPE=Release \
	    -DBUILD_TESTING=OFF -DLUMIVERT_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# The Debian package, lumivert_<version>_<arch>.deb, from the release build.
package: release
	cd $(RELEASE_BUILD) && cpack -G DEB
	@ls $(RELEASE_BUILD)/lumivert_*.deb

# The README's screenshots: the window offscreen on a fresh copy of the demo folder.
screenshots: build
	$(BUILD)/tools/screenshots demo docs/screenshots

# The libFuzzer harnesses of fuzz/ (clang), each run for FUZZ_SECONDS on its corpus; fails on
# any crash, leak, hang or broken rule.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja $(OWN_CHECKS) -DLUMIVERT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The sample pictures of the demo folder, drawn by the project's own generator.
demo-pictures: build
	$(BUILD)/tools/demo-pictures demo/pic

# The demo folder's 8 x 16 ASCII font, drawn by the project's own rasterizer.
demo-asc: build
	$(BUILD)/tools/demo-asc demo/work/asc

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Formatting of every source, and clang-tidy on what changed since BASE (CI's own check).
check-style: build
	scripts/check-style $(BASE)

lint: build
	git ls-files '*.cpp' | xargs clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD)
