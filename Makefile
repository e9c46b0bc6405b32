# Scrivo: `make run` builds, installs for this user and starts the notepad; `make test` builds and
# runs every test; `make install` / `make uninstall` put Scrivo system-wide or into a package's
# staging folder (PREFIX, DESTDIR). They first install the Debian packages they need (with sudo
# when not run as root).

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
# Where `make run` installs Scrivo for this user: the program in USER_PREFIX/lib/scrivo, where the
# notepad lives beside it (out of reach of a rebuild or `make clean`), and a launcher.
USER_PREFIX ?= $(HOME)/.local
# Where `make install` puts it for everyone.
PREFIX     ?= /usr/local
DESTDIR    ?=
FUZZ_SECONDS ?= 60

RUN_PACKAGES  := cmake make g++ pkg-config libsdl2-dev libx11-dev libxi-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
TEST_PACKAGES := $(RUN_PACKAGES) googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev \
                 xvfb xdotool x11-apps x11-xserver-utils x11-utils imagemagick python3 python3-pil \
                 desktop-file-utils weston libxtst-dev libxdamage-dev
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: run programs install uninstall install-user uninstall-user test build deps-run deps-test unit asan tsan fuzz \
        bench clean

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

programs: deps-run
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVO_TESTS=OFF -DSCRIVO_BENCHMARKS=OFF
	cmake --build $(BUILD) -j$(JOBS) --target scrivo scrivo-send

run: install-user
	$(USER_PREFIX)/lib/scrivo/scrivo

install-user: programs
	BUILD=$(BUILD) PREFIX=$(USER_PREFIX) tools/install.sh install user

uninstall-user:
	PREFIX=$(USER_PREFIX) tools/install.sh uninstall user

install: programs
	BUILD=$(BUILD) PREFIX=$(PREFIX) DESTDIR=$(DESTDIR) tools/install.sh install system

uninstall:
	PREFIX=$(PREFIX) DESTDIR=$(DESTDIR) tools/install.sh uninstall system

build: deps-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVO_TESTS=ON -DSCRIVO_BENCHMARKS=ON -DSCRIVO_WERROR=ON
	cmake --build $(BUILD) -j$(JOBS)

unit: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSCRIVO_SANITIZE=ON -DSCRIVO_WERROR=ON -DSCRIVO_TESTS=ON -DSCRIVO_BENCHMARKS=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS) --exclude-regex "^e2e[.]"
	cd $(ASAN_BUILD) && ctest --output-on-failure --tests-regex "^e2e[.]journey$$"

# The program's threads (the autosave worker beside the GUI thread, the remote listener) under
# ThreadSanitizer: only the program tests and the platform's remote tests, which start them.
tsan: deps-test
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVO_TSAN=ON -DSCRIVO_WERROR=ON -DSCRIVO_TESTS=ON -DSCRIVO_BENCHMARKS=OFF
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target program_tests platform_system_tests
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j$(JOBS) --label-regex "^program$$"
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j$(JOBS) --tests-regex "^RemoteWindows[.]"

fuzz: deps-test
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVO_FUZZ=ON -DSCRIVO_WERROR=ON -DSCRIVO_TESTS=OFF -DSCRIVO_BENCHMARKS=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	cd $(FUZZ_BUILD) && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure

test: unit asan tsan fuzz

# Each benchmark runs five times and the fastest runs are compared with floors from the same run:
# the machine may be busy with other work, which only ever adds time. Then the pen's input to ink,
# the page turn's frames and the time to the first page are measured from outside, on Xvfb.
BENCH_ARGS ?= --benchmark_repetitions=5
# Each figure is printed beside its goal, met or missed; a measurement that cannot be made (a crash,
# ink that never shows) fails the run, but only after all the others have run.
E2E_PROGRAMS = --scrivo $(BUILD)/scrivo --scrivo-send $(BUILD)/scrivo-send
bench: build
	status=0; \
	for b in blit_bench screen_bench program_bench; do $(BUILD)/bench/$$b $(BENCH_ARGS) || status=1; done; \
	/usr/bin/python3 bench/ink_latency.py $(E2E_PROGRAMS) --probe $(BUILD)/bench/ink_probe || status=1; \
	/usr/bin/python3 bench/page_turn_frames.py $(E2E_PROGRAMS) || status=1; \
	/usr/bin/python3 bench/start_time.py $(E2E_PROGRAMS) || status=1; \
	exit $$status

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
