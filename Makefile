# Palcomir - the two commands of the README, and the benchmarks.
#
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build, run every test headless
#   make bench  install what is missing, build, run the benchmarks
#   make bench-xvfb  the keystroke latency and the start-up seen from outside, under Xvfb
#   make bench-sound the key sounds on a private sound server with a null sink

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# Debian packages the build and the tests need.
PACKAGES := cmake g++ make ninja-build pkg-config \
            qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev \
            libxkbcommon-x11-dev \
            fonts-dejavu-core \
            libqt6sql6-sqlite
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all setup configure build run test bench bench-xvfb bench-sound clean

all: build

# Installs only what is missing, so it costs nothing once everything is there.
setup:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:$$missing"; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: setup $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: build
	$(BUILD_DIR)/palcomir $(ARGS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600

# giflib is only the GIF benchmark's reference, so only this target installs it;
# configuring again lets the build find it.
bench: build
	@bash -c '. bench/ensure_packages.sh && ensure_packages libgif-dev'
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

clean:
	rm -rf $(BUILD_DIR)
