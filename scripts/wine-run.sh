#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix; the exit status is
# the program's. ctest uses it as the emulator of the cross build.
set -e
. "$(dirname "$0")/wine-env.sh"
brumalis_wine_prefix
exec wine "$@"
