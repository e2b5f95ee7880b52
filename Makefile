# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: setup configure build run test trials fuzz bench clean

setup:
	./scripts/setup

# A configure that failed leaves a cache but no build files: configure again until it succeeds.
configure: setup
	@if [ ! -f $(BUILD)/build.ninja ] && [ ! -f $(BUILD)/Makefile ]; then \
	  rm -f $(BUILD)/CMakeCache.txt; \
	  cmake -S . -B $(BUILD) -G "$$(command -v ninja >/dev/null 2>&1 && echo Ninja || echo 'Unix Makefiles')" -DCMAKE_BUILD_TYPE=RelWithDebInfo; \
	fi

build: configure
	cmake --build $(BUILD) --parallel

run: build
	mkdir -p demo
	[ -f demo/кавелон.mdb ] || $(BUILD)/kavelon-db create --demo demo/кавелон.mdb
	cp -f $(BUILD)/СПРАВКА demo/ 2>/dev/null || true
	cd demo && ../$(BUILD)/Kavelon

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2 --timeout 600

# The fault trials at their full counts (about an hour): kill -9, two writers, mutated files.
trials: build
	cd $(BUILD) && KAVELON_TRIALS=full QT_QPA_PLATFORM=offscreen ctest --output-on-failure -L slow --timeout 7200

# The fuzz targets, built with clang, libFuzzer and AddressSanitizer in build-fuzz; run one with
# build-fuzz/fuzz/fuzz_filter fuzz/corpus/filter (or fuzz_field_text, fuzz_page_file,
# fuzz_database_open).
fuzz:
	./scripts/setup --fuzz
	cmake -S . -B build-fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKAVELON_FUZZ=ON
	cmake --build build-fuzz --parallel --target fuzz_filter fuzz_field_text fuzz_page_file fuzz_database_open

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

clean:
	rm -rf $(BUILD)
