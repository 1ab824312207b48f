#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix for one
# architecture; the exit status is the program's. ctest uses it as the
# emulator of each cross build.
#
#   scripts/wine-run.sh win32|win64 PROGRAM [ARGUMENT...]
#
# The program's output comes through a file: Wine's desktop process, which
# the first program to make a window starts, keeps the output that program
# had until the desktop closes, and ctest would count the program's test as
# running until then, a slot of its jobs taken for the rest of the run.
set -e
arch=${1:?usage: wine-run.sh win32|win64 PROGRAM [ARGUMENT...]}
shift
. "$(dirname "$0")/wine-env.sh" "$arch"
brumalis_wine_prefix
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$BRUMALIS_WINE" "$@" <&0 >"$output" 2>&1 &
program=$!
tail -n +1 -s 0.1 -f --pid=$program "$output"
wait $program
