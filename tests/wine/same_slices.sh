#!/usr/bin/env bash
# A Windows build computes the same cloud bytes as the native build.
#   same_slices.sh win32|win64 WINDOWS_BIN NATIVE_BIN
set -eu
arch=$1 win_bin=$2 native_bin=$3
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for args in "--startup 0" "--startup 1" "--depth 3.5 --cover 118" "--depth -11.25 --cover 170"; do
  "$native_bin/cloud-slice" $args --raw "$tmp/native.raw"
  "$here/../../scripts/wine-run.sh" "$arch" "$win_bin/cloud-slice.exe" $args --raw "Z:$tmp/win.raw"
  [ "$(stat -c %s "$tmp/native.raw")" -eq 65536 ] || { echo "wrong size for $args"; exit 1; }
  cmp "$tmp/native.raw" "$tmp/win.raw" || { echo "slices differ for $args"; exit 1; }
  echo "same bytes: $args"
done
