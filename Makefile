# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: setup configure build run test bench clean

setup:
	./scripts/setup

configure: setup
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
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
