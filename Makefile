# Front door: `make run` and `make test` install what is missing, build, and go.
# In CI (CI=true) a compiler warning fails the build.
CONFIGURE_FLAGS := $(if $(filter true 1,$(CI)),-DBRUMALIS_WERROR=ON,-DBRUMALIS_WERROR=OFF)
.PHONY: all deps native native-bench win32 win64 sanitize build test fuzz run soak bench flake music-matrix dist clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native $(CONFIGURE_FLAGS) >/dev/null
	@cmake --build --preset native

# Only the cloud texture's benchmark of the native build (make test runs it).
native-bench: deps
	@cmake --preset native $(CONFIGURE_FLAGS) >/dev/null
	@cmake --build --preset native --target cloud-bench

# Both Windows builds are made on every host, whether or not it can run them.
# Each makes the native tool it runs at build time itself.
win32: deps
	@cmake --preset win32 $(CONFIGURE_FLAGS) >/dev/null
	@cmake --build --preset win32

win64: deps
	@cmake --preset win64 $(CONFIGURE_FLAGS) >/dev/null
	@cmake --build --preset win64

# The portable code under AddressSanitizer and UndefinedBehaviorSanitizer
# (clang): its unit tests and the fuzz targets.
sanitize: deps
	@cmake --preset sanitize $(CONFIGURE_FLAGS) >/dev/null
	@cmake --build --preset sanitize

build: native win32 win64

# Builds (timed as the first phase) and runs every test.
test: deps
	@scripts/test.sh

# The fuzz targets alone; `make fuzz RUNS=1000000` for a longer search.
fuzz: sanitize
	@scripts/fuzz.sh $(RUNS)

run: build
	@scripts/run.sh

# The dialog, then a full-screen run, for MINUTES each (default 10), with
# their windows, GDI objects and memory every 30 s.
soak: build
	@scripts/soak.sh $(MINUTES)

# The release folder dist/: both zips, both setup programs, both Windows
# Installer packages, the release notes of the version (from CHANGELOG.md),
# SHA256SUMS; the sizes printed. `make dist SIGN_CERT=cert.pem
# SIGN_KEY=key.pem [SIGN_TIMESTAMP=URL]` signs every program and package
# (scripts/sign.sh).
dist: win32 win64
	@scripts/dist.sh

# The cloud texture's cost (native), then frame rate and CPU of the renderer
# under Wine beside a least WGL program (64-bit build; ROUNDS=n for more runs).
bench: native win64
	@build/native/bin/cloud-bench
	@python3 -m bench.frame_rate --arch win64 --bin build/win64/bin --rounds $(or $(ROUNDS),2)

# Every music file case through whole full-screen runs, with a table of what
# was heard, for each build this host runs; make test plays the names and the
# file that is no music (the full-screen suite plays the usual formats).
music-matrix: build
	@scripts/music-matrix.sh

# The end-to-end suites ROUNDS times (default 5) with no retry, and a table
# of their failures; not part of `make test`.
flake: build
	@python3 -m scripts.flake --rounds $(or $(ROUNDS),5)

clean:
	rm -rf build out dist
