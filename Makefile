# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: setup configure build run test test-sanitize trials fuzz bench clean

# make test builds with every warning an error (KAVELON_WERROR), so that CI fails on a warning;
# the setting reaches configure through build. make run keeps what the build folder has.
test: WERROR := ON

setup:
	./scripts/setup

# A configure that failed leaves a cache but no build files: configure again until it succeeds.
# A build folder configured before with another KAVELON_WERROR than asked for is configured
# again with it (which rebuilds what the flag changes); otherwise it is left as it is.
configure: setup
	@if [ ! -f $(BUILD)/build.ninja ] && [ ! -f $(BUILD)/Makefile ]; then \
	  rm -f $(BUILD)/CMakeCache.txt; \
	  cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(WERROR),-DKAVELON_WERROR=$(WERROR)); \
	elif [ -n "$(WERROR)" ] && ! grep -qx 'KAVELON_WERROR:BOOL=$(WERROR)' $(BUILD)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD) -DKAVELON_WERROR=$(WERROR); \
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

# The whole suite built with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer in
# build-sanitize: every test, and every program a test starts, stops at the first fault found.
# Leaks wholly inside libraries not ours are named, with the reason, in tests/sanitize/lsan.supp.
# Not part of make test: it takes about twice as long.
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-sanitize: setup
	@if [ ! -f build-sanitize/build.ninja ] && [ ! -f build-sanitize/Makefile ]; then \
	  rm -f build-sanitize/CMakeCache.txt; \
	  cmake -S . -B build-sanitize -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVELON_SANITIZE=ON; \
	else \
	  cmake -S . -B build-sanitize -DKAVELON_SANITIZE=ON; \
	fi
	cmake --build build-sanitize --parallel
	cd build-sanitize && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel 2 --timeout 1200

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
