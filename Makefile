# Two commands for a new machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps deps-test build build-test programs run test install uninstall clean pictures fuzz \
	memcheck soak references

all: build

# `make run` needs only the build tools and libraries; the test tools
# (GoogleTest, Xvfb, xdotool, clang, valgrind...) come with `make test`.
deps:
	@sh scripts/install-deps run
deps-test:
	@sh scripts/install-deps test

# The programs only: tests and benchmarks need the test tools.
build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j $(JOBS)
build-test: deps-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j $(JOBS)

# The two programs alone, for `make run`.
programs: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j $(JOBS) --target velmark3 velmark3-cli

# The program reads and writes its text files in run/, seeded from data/
# with the files that are not there yet (a saved results.txt is kept).
run: programs
	@sh scripts/run-program $(BUILD)/velmark3

# Every test twice: the normal build, then a build with ASan and UBSan; then
# a short run of each fuzz target.
test: build-test
	@sh scripts/run-tests $(BUILD)
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM_SANITIZE=ON -DBUILD_TESTING=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	@sh scripts/run-tests $(BUILD)-asan
	@sh scripts/run-fuzz $(BUILD)-fuzz 60

# The 24 scenes under valgrind, and resident memory over thousands of frames.
memcheck: build-test
	@sh scripts/run-memcheck $(BUILD)
soak: build-test
	$(BUILD)/bench/vm_soak

# Longer fuzzing of every reader of outside data.
FUZZ_SECONDS ?= 900
fuzz: deps-test
	@sh scripts/run-fuzz $(BUILD)-fuzz $(FUZZ_SECONDS)

# Regenerates the pictures in res/ (committed, so only needed after changing
# tools/make-pictures), and the desktop icons in dist/ drawn the same way as
# the window icon; the glyphs come from the DejaVu fonts.
FONTS ?= /usr/share/fonts/truetype/dejavu
pictures:
	@sh scripts/install-deps pictures
	cmake -S tools/make-pictures -B $(BUILD)-pictures
	cmake --build $(BUILD)-pictures -j $(JOBS)
	$(BUILD)-pictures/make-pictures res $(FONTS)/DejaVuSans-Bold.ttf $(FONTS)/DejaVuSerif.ttf \
	  $(BUILD)-pictures
	convert res/128.bmp -strip dist/velmark3.png
	for n in 48 128 256; do \
	  convert $(BUILD)-pictures/velmark3-$$n.bmp -strip dist/icons/velmark3-$$n.png; \
	done

# Redraws the reference pictures of rendering validation (res/references,
# committed and compiled in) on Mesa's llvmpipe, which alone is taken (not a
# driver layered on it): only needed after a scene's picture changes on
# purpose. The same build redraws the same bytes.
references: build
	LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe EGL_PLATFORM=surfaceless \
	  $(BUILD)/vm_make_references res/references
	cmake --build $(BUILD) -j $(JOBS)

# Installs under PREFIX (default /usr/local); DESTDIR works as usual. Saved
# results live in the per-user folder, which install never writes.
PREFIX ?= /usr/local
install: build
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	@sh scripts/install-files install $(BUILD)

# Removes the files the last `make install` from this build folder put in
# place (install_manifest.txt, DESTDIR as for install) and that are still as
# installed: a file changed since is kept and named.
uninstall:
	@sh scripts/install-files uninstall $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz $(BUILD)-pictures
