# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build

.PHONY: setup configure build run test bench clean

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

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

clean:
	rm -rf $(BUILD)
