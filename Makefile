# Two commands for a new machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test install clean pictures fuzz memcheck soak

all: build

deps:
	@sh scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The program reads and writes its text files in run/, seeded from data/
# with the files that are not there yet (a saved results.txt is kept).
run: build
	@sh scripts/run-program $(BUILD)/velmark3

# Every test twice: the normal build, then a build with ASan and UBSan; then
# a short run of each fuzz target.
test: build
	@sh scripts/run-tests $(BUILD)
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	@sh scripts/run-tests $(BUILD)-asan
	@sh scripts/run-fuzz $(BUILD)-fuzz 60

# The 24 scenes under valgrind, and resident memory over thousands of frames.
memcheck: build
	@sh scripts/run-memcheck $(BUILD)
soak: build
	$(BUILD)/bench/vm_soak

# Longer fuzzing of every reader of outside data.
FUZZ_SECONDS ?= 900
fuzz: deps
	@sh scripts/run-fuzz $(BUILD)-fuzz $(FUZZ_SECONDS)

# Regenerates the pictures in res/ (committed, so only needed after changing
# tools/make-pictures); the glyphs come from the DejaVu fonts.
FONTS ?= /usr/share/fonts/truetype/dejavu
pictures:
	@sh scripts/install-deps pictures
	cmake -S tools/make-pictures -B $(BUILD)-pictures
	cmake --build $(BUILD)-pictures -j $(JOBS)
	$(BUILD)-pictures/make-pictures res $(FONTS)/DejaVuSans-Bold.ttf $(FONTS)/DejaVuSerif.ttf
	convert res/128.bmp -strip dist/velmark3.png

# Installs under PREFIX (default /usr/local); DESTDIR works as usual.
PREFIX ?= /usr/local
install: build
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz $(BUILD)-pictures
