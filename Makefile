# Palcomir - the two commands of the README, and the benchmarks.
#
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build, run every test headless
#   make bench  install what is missing, build, run the benchmarks
#   make bench-xvfb  the keystroke latency and the start-up seen from outside, under Xvfb
#   make bench-sound the key sounds on a private sound server with a null sink
#   make test-asan   every test again, built with AddressSanitizer and UBSan (build-asan/)
#   make fuzz        every fuzz target for FUZZ_SECONDS each (build-fuzz/)
#   make deb    the Debian package palcomir_<version>_amd64.deb, checked by lintian

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# Debian packages the build and the tests need.
PACKAGES := cmake g++ make ninja-build pkg-config \
            qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev \
            libxkbcommon-x11-dev libfontconfig-dev \
            fonts-dejavu-core \
            libqt6sql6-sqlite libsodium-dev libqt6printsupport6
# Class mode: Qt's PostgreSQL driver.
PACKAGES += libqt6sql6-psql
# Only for the tests and the benchmarks, which start a PostgreSQL server of
# their own: a pupil's computer that runs the program needs no server.
TEST_PACKAGES := postgresql
# The lesson report's and the certificate's tests read the PDF they write with pdftotext.
PACKAGES += poppler-utils
# The package and its test: dpkg-shlibdeps, the .desktop and AppStream validators, lintian.
PACKAGES += dpkg-dev desktop-file-utils appstream lintian
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all setup setup-tests configure build run test bench bench-xvfb bench-sound clean deb

all: build

# Installs only what is missing, so it costs nothing once everything is there.
define install_missing
	@missing=""; \
	for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:$$missing"; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

setup:
	$(call install_missing,$(PACKAGES))

setup-tests: setup
	$(call install_missing,$(TEST_PACKAGES))

$(BUILD_DIR)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: setup $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: build
	$(BUILD_DIR)/palcomir $(ARGS)

test: build setup-tests
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600

# giflib (the GIF benchmark's reference) and ImageMagick (its photo-like
# pictures) serve only the benchmarks, so only this target installs them;
# configuring again lets the build find it.
bench: build setup-tests
	@bash -c '. bench/ensure_packages.sh && ensure_packages libgif-dev imagemagick'
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) --target benchmarks --parallel
	@status=0; for b in $(BUILD_DIR)/bench/bench_*; do \
	    [ -x "$$b" ] || continue; \
	    echo "== $$(basename $$b)"; \
	    "$$b" || status=1; \
	done; exit $$status

bench-xvfb: build
	cmake --build $(BUILD_DIR) --target benchmarks --parallel
	bench/xvfb_keylatency.sh $(BUILD_DIR)
	bench/xvfb_startup.sh $(BUILD_DIR)

bench-sound: build
	cmake --build $(BUILD_DIR) --target benchmarks --parallel
	bench/sound_latency.sh $(BUILD_DIR)

# The package installs under /usr; the program finds its library relative to itself.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB -B $(CURDIR)/$(BUILD_DIR)/deb
	cp $(BUILD_DIR)/deb/palcomir_*_amd64.deb .
	lintian --fail-on error palcomir_*_amd64.deb

clean:
	rm -rf $(BUILD_DIR)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# folder of its own. -O1 keeps the build short and the reports readable; any
# UBSan report stops the test that made it. Leaks are reported, except those
# inside the third-party libraries named in tests/lsan.supp.
ASAN_DIR ?= build-asan
# JOBS=1 builds one file at a time on a shared machine.
ASAN_FLAGS := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
.PHONY: test-asan
test-asan: setup-tests
	cmake -S . -B $(ASAN_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug \
	    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" "-DCMAKE_CXX_FLAGS=$(ASAN_FLAGS)" \
	    "-DCMAKE_EXE_LINKER_FLAGS=$(ASAN_FLAGS)"
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    cmake --build $(ASAN_DIR) $(if $(JOBS),-j$(JOBS),--parallel)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --output-on-failure --timeout 900

# The fuzz targets in fuzz/, built with clang into their own folder and run
# for FUZZ_SECONDS each (FUZZ_TARGETS="gif waveclip" picks some); any finding fails.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
.PHONY: fuzz
fuzz:
	@$(MAKE) --no-print-directory setup PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++-14 -DPALCOMIR_FUZZ=ON
	cmake --build $(FUZZ_DIR) --target fuzz_targets $(if $(JOBS),-j$(JOBS),--parallel)
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)
