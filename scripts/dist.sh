#!/usr/bin/env bash
# Writes the release folder dist/ from the two Windows builds (made first by
# `make dist`):
#
#   Brumalis-VERSION-win32.zip       the 32-bit pair and a read-me, in a folder
#   Brumalis-VERSION-win64.zip       the 64-bit pair and a read-me
#   Brumalis-VERSION-setup-x86.exe   the setup programs (installer/brumalis.nsi)
#   Brumalis-VERSION-setup-x64.exe
#   RELEASE-NOTES-VERSION.md         what is new, from CHANGELOG.md
#   SHA256SUMS                       of everything above
#
# VERSION is the one in the file VERSION. The same commit gives the same
# files, byte for byte, wherever and whenever they are made
# (scripts/reproducible.sh checks it): the programs and the setup programs
# carry no time, and every file in the zips carries the time of the last
# commit, or SOURCE_DATE_EPOCH when it is set, with fixed permissions.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(head -n 1 VERSION)
dist=dist

# The settings file, as the programs name it (C escapes undone).
settings_file=$(sed -n 's/^#define BRUMALIS_SETTINGS_FOLDER "\(.*\)"$/\1/p' common/shared_names.h | sed 's/\\\\/\\/g')'\Brumalis.ini'
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
if ! [[ $stamp =~ ^[0-9]+$ ]]; then
  echo "dist: no commit to date the release by; set SOURCE_DATE_EPOCH (seconds since 1970)" >&2
  exit 1
fi

rm -rf "$dist"
mkdir -p "$dist"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The read-me: UTF-8 with a byte-order mark and CRLF line ends, as Notepad
# reads it on every Windows; the folder for a copy by hand depends on the pair.
readme() {
  local bits=$1 folder_ja folder_en
  if [ "$bits" = 32 ]; then
    folder_ja='C:\Windows\System32 (64 ビット版 Windows では C:\Windows\SysWOW64)'
    folder_en='C:\Windows\System32 (C:\Windows\SysWOW64 on 64-bit Windows)'
  else
    folder_ja='C:\Windows\System32 (64 ビット版 Windows 専用)'
    folder_en='C:\Windows\System32 (64-bit Windows only)'
  fi
  printf '\357\273\277'
  BITS=$bits VERSION=$version FOLDER_JA=$folder_ja FOLDER_EN=$folder_en SETTINGS_FILE=$settings_file \
    perl -pe 's/@(BITS|VERSION|FOLDER_JA|FOLDER_EN|SETTINGS_FILE)@/$ENV{$1}/g; s/\n/\r\n/' installer/README.txt
}

# The notes of VERSION: its section of CHANGELOG.md (keep-a-changelog form:
# "## [1.0.0] - 2026-12-08" up to the next version or the link list) under a
# title of its own. No release goes out without its notes.
release_notes() {
  local version=$1 notes
  notes=$(awk -v heading="## [$version]" '
    index($0, heading) == 1 { found = 1; sub(/^## \[/, ""); sub(/\]/, ""); print "# Brumalis " $0; next }
    found && (/^## / || /^\[[^]]*\]: /) { exit }
    found { print }' CHANGELOG.md)
  if [ -z "$notes" ] || [ "$(wc -l <<<"$notes")" -lt 3 ]; then
    echo "dist: CHANGELOG.md has no notes for $version" >&2
    return 1
  fi
  # Without the blank lines the section ends with.
  sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' <<<"$notes"
}

for arch in win32 win64; do
  bits=${arch#win}
  name=Brumalis-$version-$arch
  mkdir -p "$work/$name"
  cp "build/$arch/bin/Brumalis.scr" "build/$arch/bin/Brumalis.dll" "$work/$name/"
  readme "$bits" >"$work/$name/README.txt"
  chmod 0755 "$work/$name"
  chmod 0644 "$work/$name"/*
  touch -d "@$stamp" "$work/$name" "$work/$name"/*
  (cd "$work" && TZ=UTC zip -q -X "$OLDPWD/$dist/$name.zip" "$name/" "$name/Brumalis.dll" "$name/Brumalis.scr" \
    "$name/README.txt")
done
cp "build/win32/setup/Brumalis-$version-setup-x86.exe" "build/win64/setup/Brumalis-$version-setup-x64.exe" "$dist/"
release_notes "$version" >"$dist/RELEASE-NOTES-$version.md"
(cd "$dist" && sha256sum -- *.zip *.exe *.md >SHA256SUMS)
echo "$dist/:"
(cd "$dist" && ls -l -- * | awk '{ printf "  %-36s %9d bytes\n", $9, $5 }')
echo "programs:"
for arch in win32 win64; do
  for program in Brumalis.scr Brumalis.dll; do
    printf '  %-36s %9d bytes\n' "$arch/$program" "$(stat -c %s "build/$arch/bin/$program")"
  done
done
