#!/usr/bin/env bash
# Runs every test: the native unit tests, then the Windows build's unit tests
# and end-to-end tests under Wine. Both sets always run; any failure fails.
set -u
cd "$(dirname "$0")/.."

status=0
echo "== native unit tests"
ctest --preset native || status=1
echo "== Windows unit and end-to-end tests (Wine)"
ctest --preset win32 || status=1

. scripts/wine-env.sh
wineserver -k 2>/dev/null || true

if [ $status -eq 0 ]; then echo "all tests passed"; else echo "SOME TESTS FAILED"; fi
exit $status
