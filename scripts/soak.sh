#!/usr/bin/env bash
# A long run of the settings dialog, then of a full-screen run with music,
# under Wine on a virtual display: windows, GDI objects and memory of each
# process every INTERVAL seconds. Not part of `make test`.
#   scripts/soak.sh [MINUTES [INTERVAL]]     (default: 10 minutes each, 30 s)
set -eu
cd "$(dirname "$0")/.."
minutes=${1:-10} interval=${2:-30}
set --
. scripts/host-arch.sh
brumalis_pick_arch
# Its own prefix and its own copy of the programs: tests and builds may run
# meanwhile.
export BRUMALIS_WINEPREFIX="$PWD/build/wine-$BRUMALIS_ARCH-soak"
. scripts/wine-env.sh "$BRUMALIS_ARCH"
brumalis_wine_prefix
programs="build/soak-$BRUMALIS_ARCH"
rm -rf "$programs"
cp -r "build/$BRUMALIS_ARCH/bin" "$programs"
exec python3 -m tests.wine.soak --arch "$BRUMALIS_ARCH" --bin "$programs" --minutes "$minutes" --interval "$interval"
