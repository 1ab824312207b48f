#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix for one
# architecture; the exit status is the program's. ctest uses it as the
# emulator of each cross build.
#
#   scripts/wine-run.sh win32|win64 PROGRAM [ARGUMENT...]
set -e
arch=${1:?usage: wine-run.sh win32|win64 PROGRAM [ARGUMENT...]}
shift
. "$(dirname "$0")/wine-env.sh" "$arch"
brumalis_wine_prefix
exec "$BRUMALIS_WINE" "$@"
