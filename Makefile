# Two commands for a new machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test clean

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

test: build
	@sh scripts/run-tests $(BUILD)

clean:
	rm -rf $(BUILD)
