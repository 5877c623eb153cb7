# Lumivert: `make run` opens the window, `make test` runs every test. Both install what the
# project needs first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
DEMO       := $(BUILD)/demo

.PHONY: all deps build run test bench asan fuzz format lint clean demo-pictures demo-asc

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja

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
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DLUMIVERT_SANITIZE=ON -DLUMIVERT_BENCH=OFF \
	    -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# The libFuzzer harnesses of fuzz/ (clang), each run for FUZZ_SECONDS on its corpus; fails on
# any crash, leak, hang or broken rule.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DLUMIVERT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
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

lint: build
	git ls-files '*.cpp' | xargs clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
