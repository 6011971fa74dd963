# Quick start: `make demo` and `make test`. Each installs what is missing first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# TSan maps its shadow at fixed addresses; a randomised layout can collide with it on some kernels.
NO_ASLR := $(shell setarch $$(uname -m) -R true 2>/dev/null && echo setarch $$(uname -m) -R)

# ctest in the build folder $(1), with its environment before it, then the cases counted inside
# each of its entries; fails when either does.
define run_ctest
rm -rf $(1)/test-results
cd $(1) && $(2) ctest --output-on-failure; status=$$?; \
  /usr/bin/python3 $(CURDIR)/scripts/test-summary . || status=1; exit $$status
endef

# `make package` builds the Debian package into build/ with CPack.
.PHONY: all deps build package test test-wm demo chaos screenshots test-asan test-tsan fuzz bench format format-check clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

package: build
	cd build && cpack -G DEB

# Also runs the dialog tests and the demo under valgrind's memcheck (ctest's e2e_memcheck).
test: build
	$(call run_ctest,build)

# The dialog tests and the demo again under the window managers `make test` does not use (it
# runs them under openbox): twm (no EWMH), icewm and none, one line per manager. The tests marked
# wm_independent are left to openbox's run. Each manager's log is build/test-wm-<manager>.log.
WM_TESTS = tests/e2e/test_action_request_dialog.py tests/e2e/test_message_windows.py \
  tests/e2e/test_consent_and_failures.py tests/e2e/test_demo.py tests/e2e/test_window_managers.py \
  tests/e2e/test_monitors.py tests/e2e/test_keyboard.py
WM_EXTRA = twm icewm none
test-wm: build
	@status=0; for wm in $(WM_EXTRA); do \
	  log=build/test-wm-$$wm.log; \
	  QVX_WM=$$wm QVX_PROGRAM=build/qvxclientui QVX_XLATCHECK=build/qvxclientui-xlatcheck \
	    QVX_TIME_FILTER=build/tests/time_text_filter \
	    QVX_OUTGOING_FILTER=build/tests/outgoing_message_filter PYTHONPATH=tools \
	    /usr/bin/python3 -m pytest -q -p no:cacheprovider -m "not wm_independent" $(WM_TESTS) \
	    >$$log 2>&1 || { status=1; cat $$log; }; \
	  echo "window manager $$wm: $$(tail -n 1 $$log | sed 's/^=* *//; s/ *=*$$//')"; \
	done; exit $$status

# The built-in scenario on the user's display, or on a private one when DISPLAY is unset; one
# picture per screenshot step lands in demo-output/. WM=twm (icewm, none, openbox) plays it on a
# private display under that window manager.
demo: build
	rm -rf demo-output
	/usr/bin/python3 tools/clientsim demo --program build/qvxclientui --output demo-output \
	  $(if $(WM),--own-display --window-manager $(WM))

# Ten minutes of random messages and clicks on a private display, every answer checked; a
# failing session is written to chaos-output/ as a scenario file. CHAOS_SEED repeats a run.
CHAOS_MINUTES ?= 10
chaos: build
	/usr/bin/python3 tools/clientsim chaos --program build/qvxclientui --minutes $(CHAOS_MINUTES) \
	  $(if $(CHAOS_SEED),--seed $(CHAOS_SEED))

# The README's pictures under docs/, from the same scenario on a private display in English,
# German and Japanese, and the action request dialog under each window manager.
screenshots: build
	scripts/screenshots build/qvxclientui

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQVX_SANITIZE=address
	cmake --build build-asan -j $(JOBS)
	$(call run_ctest,build-asan,ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)

test-tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DQVX_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	$(call run_ctest,build-tsan,TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(NO_ASLR))

# The libFuzzer targets of fuzz/, built with clang, each run FUZZ_SECONDS on a scratch copy of
# its seeds under build-fuzz; a crash or a failed check fails the target.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DQVX_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build build-fuzz -j $(JOBS)
	fuzz/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQVX_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build build-bench -j $(JOBS)
	cmake --build build-bench -j $(JOBS) --target qvxclientui
	@# The dialog benchmark needs a display: a private one, never the user's.
	@for b in build-bench/bench/bench_*; do [ -x "$$b" ] && /usr/bin/python3 tools/xsession.py "$$b"; done
	/usr/bin/python3 bench/x_bench.py build-bench/qvxclientui
	/usr/bin/python3 bench/tap_latency.py build-bench/qvxclientui-tap
	/usr/bin/python3 bench/spawn_bench.py build-bench/qvxclientui --floor build-bench/bench/spawn_floor

# Every C++ file of the project, formatted by the .clang-format at the top.
SOURCES = $(shell git ls-files '*.cpp' '*.h')

format: deps
	clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES) && echo "format-check: every file formatted"

clean:
	rm -rf build build-asan build-tsan build-fuzz build-bench
