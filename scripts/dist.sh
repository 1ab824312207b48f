#!/usr/bin/env bash
# Writes the release folder dist/ from the two Windows builds (made first by
# `make dist`):
#
#   Brumalis-VERSION-win32.zip       the 32-bit pair and a read-me, in a folder
#   Brumalis-VERSION-win64.zip       the 64-bit pair and a read-me
#   Brumalis-VERSION-setup-x86.exe   the setup programs (installer/brumalis.nsi)
#   Brumalis-VERSION-setup-x64.exe
#   Brumalis-VERSION-x86.msi         the Windows Installer packages
#   Brumalis-VERSION-x64.msi         (installer/brumalis.wxs)
#   RELEASE-NOTES-VERSION.md         what is new, from CHANGELOG.md
#   SHA256SUMS                       of everything above
#
# VERSION is the one in the file VERSION. The same commit gives the same
# files, byte for byte, wherever and whenever they are made
# (scripts/reproducible.sh checks it): the programs and the setup programs
# carry no time, and every file in the zips and the packages carries the
# time of the last commit, or SOURCE_DATE_EPOCH when it is set, with fixed
# permissions.
#
# Signed: given a code-signing certificate and its key, every program is
# signed before it goes into the zips and the packages, and then the setup
# programs (their uninstallers too) and the packages themselves
# (scripts/sign.sh; osslsigncode, SHA-256):
#
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem [SIGN_TIMESTAMP=URL] scripts/dist.sh
#
# A signature carries the time of signing, so a signed release is never the
# same twice; without a certificate nothing is signed. BRUMALIS_DIST names
# another folder to write instead of dist/.
set -euo pipefail
# Files named relative to where this was started.
for given in SIGN_CERT SIGN_KEY BRUMALIS_DIST; do
  [ -n "${!given:-}" ] && declare "$given=$(realpath -m -- "${!given}")"
done
cd "$(dirname "$0")/.."
version=$(head -n 1 VERSION)
source scripts/shared-names.sh
host=$(shared_name HOST_FILE) renderer=$(shared_name RENDERER_FILE)
dist=${BRUMALIS_DIST:-dist}

# The settings file, as the programs name it (C escapes undone).
settings_file=$(sed -n 's/^#define BRUMALIS_SETTINGS_FOLDER "\(.*\)"$/\1/p' common/shared_names.h | sed 's/\\\\/\\/g')'\Brumalis.ini'
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
if ! [[ $stamp =~ ^[0-9]+$ ]]; then
  echo "dist: no commit to date the release by; set SOURCE_DATE_EPOCH (seconds since 1970)" >&2
  exit 1
fi

rm -rf "$dist"
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
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

signing=0 sign=()
if [ -n "${SIGN_CERT:-}" ] || [ -n "${SIGN_KEY:-}" ]; then
  if [ -z "${SIGN_CERT:-}" ] || [ -z "${SIGN_KEY:-}" ]; then
    echo "dist: signing takes both SIGN_CERT and SIGN_KEY" >&2
    exit 1
  fi
  signing=1 sign=(--sign)
fi

for arch in win32 win64; do
  bits=${arch#win}
  package_arch=$([ "$arch" = win64 ] && echo x64 || echo x86)
  name=Brumalis-$version-$arch
  # The pair as built, or signed copies of it.
  programs=build/$arch/bin
  if [ $signing = 1 ]; then
    programs=$work/signed-$arch
    mkdir -p "$programs"
    cp "build/$arch/bin/$host" "build/$arch/bin/$renderer" "$programs/"
    scripts/sign.sh "$programs/$host"
    scripts/sign.sh "$programs/$renderer"
  fi
  mkdir -p "$work/$name"
  cp "$programs/$host" "$programs/$renderer" "$work/$name/"
  readme "$bits" >"$work/$name/README.txt"
  chmod 0755 "$work/$name"
  chmod 0644 "$work/$name"/*
  touch -d "@$stamp" "$work/$name" "$work/$name"/*
  (cd "$work" && TZ=UTC zip -q -X "$dist/$name.zip" "$name/" "$name/$renderer" "$name/$host" \
    "$name/README.txt")

  # The setup program as built (it carries no time), or made again from the
  # signed pair; the Windows Installer package, dated as the release.
  icon=build/$arch/dialog/pictures/icon.ico
  setup=Brumalis-$version-setup-$package_arch.exe
  if [ $signing = 1 ]; then
    installer/package.sh setup "$package_arch" "$version" "$programs" "$icon" "$dist/$setup" "${sign[@]}"
  else
    cp "build/$arch/setup/$setup" "$dist/"
  fi
  installer/package.sh msi "$package_arch" "$version" "$programs" "$icon" "$dist/Brumalis-$version-$package_arch.msi" \
    --date "$stamp" "${sign[@]}"
done
release_notes "$version" >"$dist/RELEASE-NOTES-$version.md"
(cd "$dist" && sha256sum -- *.zip *.exe *.msi *.md >SHA256SUMS)
echo "${BRUMALIS_DIST:-dist}/:"
(cd "$dist" && ls -l -- * | awk '{ printf "  %-36s %9d bytes\n", $9, $5 }')
echo "programs:"
for arch in win32 win64; do
  for program in "$host" "$renderer"; do
    printf '  %-36s %9d bytes\n' "$arch/$program" "$(stat -c %s "build/$arch/bin/$program")"
  done
done
