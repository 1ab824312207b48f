#!/usr/bin/env bash
# Builds a pair of programs from these sources as an earlier version, and its
# Windows Installer package, for the tests that upgrade from that version:
#
#   installer/earlier.sh BUILD VERSION
#
# BUILD is a Windows build folder made first (build/win32 or build/win64, the
# name of its preset); the earlier one is BUILD-VERSION beside it, configured
# with BRUMALIS_BUILD_AS_VERSION, so that the programs' version resources,
# the settings dialog's version line and the package all say VERSION. It
# builds the pair and the package alone. Its compiles go through the compiler
# cache with BUILD's own options, so that only what follows the version
# compiles again (common/version_text.cpp and the file properties); it takes
# the dialog's pictures as BUILD drew them. Callers side by side wait for one
# another. Prints the package's path; the build's output goes to
# BUILD-VERSION.log, shown when it fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

[ $# -eq 2 ] || { echo "usage: $0 BUILD VERSION" >&2; exit 2; }
build=$(realpath -- "$1") version=$2
preset=$(basename "$build")
case $preset in
  win32) package_arch=x86 ;;
  win64) package_arch=x64 ;;
  *) echo "earlier.sh: BUILD is a win32 or win64 build folder, not $1" >&2; exit 2 ;;
esac
[ -f "$build/CMakeCache.txt" ] || { echo "earlier.sh: $build is not built (make build)" >&2; exit 1; }
earlier=$build-$version log=$build-$version.log

# The same warnings as BUILD, whose compiles the cache holds.
werror=$(sed -n 's/^BRUMALIS_WERROR:[A-Z]*=//p' "$build/CMakeCache.txt")
(
  flock 9
  : >"$log"
  if ! { cmake -S "$root" --preset "$preset" -B "$earlier" -DBRUMALIS_BUILD_AS_VERSION="$version" \
           -DBRUMALIS_WERROR="${werror:-OFF}" -DBRUMALIS_PICTURES_FROM="$build/dialog/pictures" &&
         cmake --build "$earlier" --target msi; } >>"$log" 2>&1; then
    echo "earlier.sh: building $version in $earlier failed:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
) 9>"$earlier.lock"
echo "$earlier/setup/Brumalis-$version-$package_arch.msi"
