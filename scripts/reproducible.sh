#!/usr/bin/env bash
# Builds the release twice, in this tree's own build folders and in a copy
# of the tree in a folder of another name and depth, one after the other,
# and compares the results byte for byte: both pairs of programs, both setup
# programs and Windows Installer packages, and the whole release folder
# scripts/dist.sh writes (zips, packages, release notes, SHA256SUMS).
# Fails on any difference, and on a program that holds the name of a folder
# it was built in.
#
#   scripts/reproducible.sh
#
# The first release is this tree's build as `make build` leaves it,
# brought up to date, through the compiler cache as every build goes, at
# the time and with the file mode mask and time zone of the one who runs
# this, in the C language. The copy holds the tree as it is now, committed
# or not: the files git tracks and those it does not ignore; it builds no more than
# a release needs (the packages of each Windows build, which need both
# programs and the native tool that draws the icon) and compiles everything
# afresh, with another mask, time zone and language, so that the one build
# of each file really made in its own folder is held to another. Neither
# builds with SOURCE_DATE_EPOCH, which the linker would otherwise take for
# the programs' time stamps: a build must give the same programs without it,
# as `make build` does; where it is set here the tree's build may carry it,
# and a first copy, built with the cache, UTC and C, stands in for the tree.
# Both release folders are dated by the same commit (SOURCE_DATE_EPOCH when
# it is set here, else the time of the last commit), as `make dist` dates
# them. No Windows program runs: a host that runs no 32-bit code checks both
# pairs all the same.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
start=$SECONDS
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
first=$PWD
[ -z "${SOURCE_DATE_EPOCH:-}" ] || first=""  # a copy stands in, made below
unset SOURCE_DATE_EPOCH

work=$(mktemp -d "${TMPDIR:-/tmp}/brumalis-twice.XXXXXX")
trap 'rm -rf "$work"' EXIT
[ -n "$first" ] || first=$work/a/brumalis
second=$work/second-place/further-down/Brumalis-copy

# copy_tree DEST: the tree as it is now, without build/, out/ and dist/.
copy_tree() {
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$1"
}

# build_release DIR: both builds' packages (with both pairs of programs),
# then the release folder, DIR/dist of a copy and a folder of $work for this
# tree. A build folder that is there already keeps its configuration. The
# output goes to $work, shown when a step fails.
build_release() {
  local dir=$1 arch log dist began=$SECONDS
  log=$work/$(basename "$dir").log dist=$(dist_of "$dir")
  for arch in win32 win64; do
    if ! (cd "$dir" && { [ -f "build/$arch/CMakeCache.txt" ] || cmake --preset "$arch" -DBRUMALIS_WERROR=OFF; } &&
      cmake --build --preset "$arch" --target setup) >>"$log" 2>&1; then
      echo "building the $arch release in $dir failed:"
      tail -n 40 "$log"
      return 1
    fi
  done
  if ! (cd "$dir" && SOURCE_DATE_EPOCH=$epoch BRUMALIS_DIST=$dist scripts/dist.sh) >>"$log" 2>&1; then
    echo "scripts/dist.sh in $dir failed:"
    tail -n 40 "$log"
    return 1
  fi
  echo "  $(grep -c '^\[[0-9]*/[0-9]*\] Building' "$log") files compiled, built in $((SECONDS - began)) s"
}

dist_of() {
  if [ "$1" = "$PWD" ]; then echo "$work/dist-of-the-tree"; else echo "$1/dist"; fi
}

[ "$first" = "$PWD" ] || copy_tree "$first"
copy_tree "$second"
# The second build's language: Japanese where the host has it (make deps
# makes it for Wine).
language=C.UTF-8
locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && language=ja_JP.UTF-8
if [ "$first" = "$PWD" ]; then
  echo "building the release in this tree (compiler cache)"
  build_release "$first"
else
  echo "building the release in $first (compiler cache, UTC, C)"
  (umask 022 && TZ=UTC LC_ALL=C build_release "$first")
fi
echo "building the release in $second (no compiler cache, Asia/Tokyo, $language)"
(umask 077 && TZ=Asia/Tokyo LC_ALL=$language CCACHE_DISABLE=1 build_release "$second")

# What is compared: the programs and packages as built, and every file of
# the release folder.
source scripts/shared-names.sh
host=$(shared_name HOST_FILE) renderer=$(shared_name RENDERER_FILE)
files=(build/win32/bin/$host build/win32/bin/$renderer build/win64/bin/$host build/win64/bin/$renderer)
files+=($(cd "$first" && ls build/win32/setup/* build/win64/setup/*))
first_dist=$(dist_of "$first") second_dist=$(dist_of "$second")
files+=($(cd "$first_dist" && ls | sed 's|^|dist/|'))
status=0
if [ "$(cd "$first_dist" && ls)" != "$(cd "$second_dist" && ls)" ]; then
  echo "the release folders hold different files:"
  diff <(cd "$first_dist" && ls) <(cd "$second_dist" && ls) || true
  status=1
fi
# where FILE of the comparison lies in the build made in DIR
place() {
  case "$2" in
    dist/*) echo "$(dist_of "$1")/${2#dist/}" ;;
    *) echo "$1/$2" ;;
  esac
}
for file in "${files[@]}"; do
  a=$(place "$first" "$file") b=$(place "$second" "$file")
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
