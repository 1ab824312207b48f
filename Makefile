# Front door: `make run` and `make test` install what is missing, build, and go.
.PHONY: all deps native win32 build test run bench clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

win32: deps native
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32

build: native win32

test: build
	@scripts/test.sh

run: win32
	@scripts/run.sh

bench: native
	@build/native/bin/cloud-bench

clean:
	rm -rf build out
