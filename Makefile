# The two everyday commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=
# The program on its own: `make run` builds only this.
RUN_TARGETS = zub97 zub_manual

.PHONY: all deps configure build run test bench fuzz clean format check-format

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then $(BUILD)/src/app/zub97; \
	else echo "make run: no display here, so Zub 97 runs under a virtual X server (xvfb-run)"; \
	     echo "that nobody can see. Stop it with Ctrl+C, or: pkill -x zub97"; \
	     xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/src/app/zub97; fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# The fuzz targets, with clang's sanitizers, for FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
fuzz:
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang (apt-get install clang)"; exit 1; }
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DZUB_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_version
	@mkdir -p $(FUZZ_BUILD)/corpus/version
	@$(FUZZ_BUILD)/fuzz/fuzz_version -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/version fuzz/corpus/version

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf $(BUILD)

.PHONY: package
# A Debian package in $(BUILD)/ (zub97_<version>_<arch>.deb): sudo apt install ./build/zub97_*.deb
package: build
	@cmake --build $(BUILD) --target package
