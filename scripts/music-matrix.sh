#!/usr/bin/env bash
# Every music case (formats, names and places, files that cannot play) through
# whole full-screen runs, for each Windows build this host runs, with the
# table of what was heard. Not part of `make test`, which plays one file of
# each kind (the e2e_music suite).
set -eu
cd "$(dirname "$0")/.."
. scripts/host-arch.sh
for arch in win32 win64; do
  if why=$(brumalis_can_run "$arch"); then
    echo "== $(brumalis_bits_of "$arch") programs"
    python3 -m tests.wine.music_matrix --arch "$arch" --bin "build/$arch/bin" --suite music-matrix FullMatrix
  else
    echo "== $(brumalis_bits_of "$arch") programs: not run ($why)"
  fi
done
