#!/usr/bin/env bash
# Builds the release twice, from two copies of this tree in two folders of
# different names and depths, one after the other, and compares the results
# byte for byte: both pairs of programs, both setup programs and Windows
# Installer packages, and the whole release folder scripts/dist.sh writes
# (zips, packages, release notes, SHA256SUMS).
# Fails on any difference, and on a program that holds the name of a folder
# it was built in.
#
#   scripts/reproducible.sh
#
# The copies hold the tree as it is now, committed or not: the files git
# tracks and those it does not ignore. Each builds no more than a release
# needs: the packages of each Windows build, which need both programs (and
# the native tool that draws the icon). The first copy compiles through
# the compiler cache as every build does; the second compiles everything
# afresh, so that the one build of each file really made in its own folder
# is held to another. Each builds at its own time, with its own file mode
# mask, time zone and language, and without
# SOURCE_DATE_EPOCH, which the linker would otherwise take for the programs'
# time stamps: a build must give the same programs without it, as
# `make build` does. Both release folders are dated by the same commit
# (SOURCE_DATE_EPOCH when it is set here, else the time of the last commit),
# as `make dist` dates them. No Windows program runs: a host that runs no
# 32-bit code checks both pairs all the same.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
start=$SECONDS
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
unset SOURCE_DATE_EPOCH

work=$(mktemp -d "${TMPDIR:-/tmp}/brumalis-twice.XXXXXX")
trap 'rm -rf "$work"' EXIT
first=$work/a/brumalis
second=$work/second-place/further-down/Brumalis-copy

# copy_tree DEST: the tree as it is now, without build/, out/ and dist/.
copy_tree() {
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$1"
}

# build_release DIR: both builds' packages (with both pairs of programs),
# then the release folder. The output goes to DIR.log, shown when a step fails.
build_release() {
  local dir=$1 arch log=$1.log began=$SECONDS
  for arch in win32 win64; do
    if ! (cd "$dir" && cmake --preset "$arch" -DBRUMALIS_WERROR=OFF && cmake --build --preset "$arch" --target setup) \
      >>"$log" 2>&1; then
      echo "building the $arch release in $dir failed:"
      tail -n 40 "$log"
      return 1
    fi
  done
  if ! (cd "$dir" && SOURCE_DATE_EPOCH=$epoch scripts/dist.sh) >>"$log" 2>&1; then
    echo "scripts/dist.sh in $dir failed:"
    tail -n 40 "$log"
    return 1
  fi
  echo "  $(grep -c '^\[[0-9]*/[0-9]*\] Building' "$log") files compiled, built in $((SECONDS - began)) s"
}

copy_tree "$first"
copy_tree "$second"
# The second build's language: Japanese where the host has it (make deps
# makes it for Wine).
language=C.UTF-8
locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && language=ja_JP.UTF-8
echo "building the release in $first (compiler cache, UTC, C)"
(umask 022 && TZ=UTC LC_ALL=C build_release "$first")
echo "building the release in $second (no compiler cache, Asia/Tokyo, $language)"
(umask 077 && TZ=Asia/Tokyo LC_ALL=$language CCACHE_DISABLE=1 build_release "$second")

# What is compared: the programs and packages as built, and every file of
# the release folder.
source scripts/shared-names.sh
host=$(shared_name HOST_FILE) renderer=$(shared_name RENDERER_FILE)
files=(build/win32/bin/$host build/win32/bin/$renderer build/win64/bin/$host build/win64/bin/$renderer)
files+=($(cd "$first" && ls build/win32/setup/* build/win64/setup/* dist/*))
status=0
if [ "$(cd "$first/dist" && ls)" != "$(cd "$second/dist" && ls)" ]; then
  echo "the release folders hold different files:"
  diff <(cd "$first/dist" && ls) <(cd "$second/dist" && ls) || true
  status=1
fi
for file in "${files[@]}"; do
  a=$first/$file b=$second/$file
  if cmp -s "$a" "$b"; then
    printf 'same       %-46s %s\n' "$file" "$(sha256sum "$a" | cut -c1-16)"
    continue
  fi
  status=1
  if [ ! -f "$b" ]; then
    printf 'MISSING    %s in the second build\n' "$file"
    continue
  fi
  printf 'DIFFERENT  %-46s %s bytes differ\n' "$file" "$(cmp -l "$a" "$b" 2>/dev/null | wc -l)"
  case "$file" in
    *.scr | *.dll | *.exe)
      # Where in the program: its headers, sections and directories.
      diff <(x86_64-w64-mingw32-objdump -x "$a" 2>&1 | grep -vF "$a") \
        <(x86_64-w64-mingw32-objdump -x "$b" 2>&1 | grep -vF "$b") | head -n 20 || true
      ;;
    *.msi)
      # The summary (package code, times), then the tables.
      diff <(msiinfo suminfo "$a") <(msiinfo suminfo "$b") || true
      msidiff "$a" "$b" 2>&1 | head -n 20 || true
      ;;
  esac
done
# No folder the programs were built in is named inside them. grep reads
# all that strings writes: with -q it would stop at the first hit, strings
# would die of the broken pipe, and pipefail would turn the hit into a miss.
for file in "${files[@]:0:4}"; do
  for dir in "$first" "$second" "$PWD"; do
    if strings -a "$first/$file" "$second/$file" | grep -F "$dir" >/dev/null; then
      echo "$file names the folder $dir"
      status=1
    fi
  done
done
took=$((SECONDS - start))
echo "built twice and compared in $((took / 60))m $((took % 60))s"
if [ $status -eq 0 ]; then echo "the two releases are the same, byte for byte"; else echo "THE TWO RELEASES DIFFER"; fi
exit $status
