#!/usr/bin/env bash
# Runs every test: the native unit tests, then the Windows build's unit tests
# and end-to-end tests under Wine. Both sets always run; any failure fails.
set -u
cd "$(dirname "$0")/.."

status=0
echo "== native unit tests"
ctest --preset native || status=1
echo "== Windows unit and end-to-end tests (Wine)"
# The Windows unit tests make windows, so they get a private X display; the
# end-to-end tests start displays of their own.
. scripts/wine-env.sh
display=""
for n in $(seq 70 89); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 +extension GLX -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    xdpyinfo -display ":$n" >/dev/null 2>&1 && { display=":$n"; break; }
    sleep 0.1
  done
  [ -n "$display" ] && break
  kill "$xvfb" 2>/dev/null
done
[ -n "$display" ] || { echo "no X display could be started"; exit 1; }
DISPLAY=$display ctest --preset win32 || status=1
wineserver -k 2>/dev/null || true
kill "$xvfb" 2>/dev/null

if [ $status -eq 0 ]; then echo "all tests passed"; else echo "SOME TESTS FAILED"; fi
exit $status
