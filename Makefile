# Kestrel: the commands a developer and CI use. Everything below sets itself up.
#   make run     build and start kestrel --card demo (kestrel-cli without a display)
#   make screenshots  write the README's pictures of the windows into docs/screenshots/
#   make test    build and run every test, then again under ASan+UBSan and TSan
#   make install build (when needed) and install under PREFIX (default /usr/local); as root:
#                make build && sudo make install
#   make package build and write the Debian package build/kestrel_VERSION_ARCH.deb
#   make bench   build optimised and run the benchmarks
#   make fuzz    run each fuzz target for FUZZ_SECONDS (default 60) under ASan+UBSan
#   make clean   remove every build folder

FUZZ_SECONDS ?= 60
FUZZ_TARGET ?=
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
DEBUG_FLAGS ?= -g1
PREFIX ?=

CONFIGURE = cmake -G Ninja -Wno-dev $(CMAKE_FLAGS)
BUILD = cmake --build
CTEST = ctest --output-on-failure -j $(JOBS)

.PHONY: all deps build run screenshots install package test test-plain test-asan test-tsan bench fuzz clean

all: build

deps:
	@scripts/install-deps

# Line tables give a backtrace its files and lines; full debug information took a third of
# the build's time (`make DEBUG_FLAGS=-g build` for gdb's view of variables).
build: deps
	@$(CONFIGURE) -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 $(DEBUG_FLAGS) -DNDEBUG" \
	  -DKESTREL_WERROR=ON >/dev/null
	@$(BUILD) build -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then build/bin/kestrel --card demo; \
	else build/bin/kestrel-cli --settings build/run-settings.ini scan --card demo --mode nit --tree; fi

screenshots: build
	build/bin/kestrel-screenshots docs/screenshots

# Installs what the existing build made; configures and builds only when there is no build
# yet, so that `sudo make install` after `make build` builds nothing as root.
install:
	@[ -f build/build.ninja ] || $(MAKE) build
	@$(BUILD) build -j $(JOBS)
	cmake --install build $(if $(PREFIX),--prefix $(PREFIX))

# The package is made from the plain build the tests run on (CPack, see packaging/).
package: build
	@cd build && { cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }; }
	@ls build/kestrel_*.deb

test: deps test-plain test-asan test-tsan

# The kernel tests (label "kernel") skip without ../shared/vkernel; the reason is repeated last.
test-plain: build
	cd build && rm -f kernel_tests.skipped && $(CTEST); status=$$?; cat kernel_tests.skipped 2>/dev/null; exit $$status

test-asan: deps
	@$(CONFIGURE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DKESTREL_WERROR=ON -DKESTREL_BENCH=OFF \
	  -DKESTREL_SANITIZE=address,undefined >/dev/null
	@$(BUILD) build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

# Only the threaded parts run under ThreadSanitizer; the stage is skipped while there are none.
test-tsan: deps
	@$(CONFIGURE) -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DKESTREL_WERROR=ON -DKESTREL_BENCH=OFF \
	  -DKESTREL_THREADED_ONLY=ON -DKESTREL_SANITIZE=thread >/dev/null
	@if ctest --test-dir build-tsan -N -L threaded | grep -q 'Total Tests: [1-9]'; then \
	  $(BUILD) build-tsan -j $(JOBS) --target threaded_tests && cd build-tsan && TSAN_OPTIONS=halt_on_error=1 $(CTEST) -L threaded; \
	else echo "no threaded tests yet: ThreadSanitizer stage skipped"; fi

bench: deps
	@$(CONFIGURE) -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKESTREL_TESTS=OFF >/dev/null
	@$(BUILD) build-bench -j $(JOBS)
	@for b in build-bench/bench/*; do echo "== $$b"; $$b --benchmark_counters_tabular=true || exit 1; done

fuzz: deps
	@$(CONFIGURE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF -DKESTREL_FUZZ=ON \
	  -DKESTREL_SANITIZE=address,undefined >/dev/null
	@$(BUILD) build-fuzz -j $(JOBS)
	@for f in build-fuzz/fuzz/*$(FUZZ_TARGET)*; do \
	  name=$$(basename $$f); mkdir -p build-fuzz/corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build-fuzz/corpus/$$name || exit 1; \
	done

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz
