#!/usr/bin/env bash
# Makes one package of one pair of programs: the setup program (NSIS,
# brumalis.nsi) or the Windows Installer package (wixl, brumalis.wxs).
# Each Windows build makes both (installer/CMakeLists.txt); scripts/dist.sh
# makes them again from signed programs when it signs.
#
#   installer/package.sh setup|msi x86|x64 VERSION BIN ICON OUTFILE [--date SECONDS] [--sign]
#
# BIN holds the two programs (common/shared_names.h names their files); ICON
# is the program's icon.
# --date dates the Windows Installer package (its summary's times, and with
# the version and the programs, its package code); without it the package
# says 1980-01-01, the earliest date its cabinet can hold, so that the same
# programs make the same package whenever they are packed. --sign signs the
# result with scripts/sign.sh, and in the setup program its uninstaller too
# (scripts/sign.sh reads the certificate and key from the environment).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
source "$root/scripts/shared-names.sh"
host=$(shared_name HOST_FILE) renderer=$(shared_name RENDERER_FILE)

kind=$1 arch=$2 version=$3 bin=$4 icon=$5 out=$6
shift 6
date=315532800 sign=0
while [ $# -gt 0 ]; do
  case $1 in
    --date) date=$2; shift 2 ;;
    --sign) sign=1; shift ;;
    *) echo "package.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
# The pair's word size, the package's platform, and whether its
# components are 64-bit.
case $arch in
  x86) bits=32 platform=Intel win64=no ;;
  x64) bits=64 platform=x64 win64=yes ;;
  *) echo "package.sh: the architecture is x86 or x64, not $arch" >&2; exit 2 ;;
esac
[[ $date =~ ^[0-9]+$ ]] || { echo "package.sh: --date takes seconds since 1970, not $date" >&2; exit 2; }

# Each pair's packages keep this code for every version: a later package
# upgrades an earlier one, and the setup program of the pair finds the
# package of the same pair by it. The two pairs are two products.
case $arch in
  x86) upgrade_code=12807A3E-BE00-4AA9-889F-CD4F8AF90ABD ;;
  x64) upgrade_code=853B7FE8-2697-4BC5-B307-22315BD228E9 ;;
esac
# The setup program's uninstall entry, which the package looks for.
setup_entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Brumalis'

# code NAME: a GUID that depends on NAME alone (name-based, SHA-1).
code() {
  python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID("3479130d-1a0f-4f97-92af-f9fb3be9aed4"), sys.argv[1])).upper())' "$1"
}

# makensis reads the files, and runs the uninstaller's signing, from a
# folder of its own.
bin=$(realpath -- "$bin") icon=$(realpath -- "$icon")
for given in SIGN_CERT SIGN_KEY; do
  [ -n "${!given:-}" ] && export "$given=$(realpath -m -- "${!given}")"
done

mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

case $kind in
  setup)
    finalize=()
    # NSIS runs the command on the uninstaller before it packs it ("%1" is
    # the uninstaller's file).
    [ $sign = 1 ] && finalize=("-DSIGN_UNINSTALLER=\"$root/scripts/sign.sh\" \"%1\"")
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH="$arch" -DBIN="$bin" -DICON="$icon" \
      -DCOMMON="$root/common" -DMSI_UPGRADE_CODE="{$upgrade_code}" "${finalize[@]}" -DOUTFILE="$work/$(basename "$out")" \
      "$here/brumalis.nsi"
    made=$work/$(basename "$out")
    ;;
  msi)
    # wixl takes the files from the folder it runs in, and the cabinet keeps
    # their times: they carry the package's date.
    cp "$bin/$host" "$bin/$renderer" "$work/"
    cp "$icon" "$work/brumalis.ico"
    touch -d "@$date" "$work"/*
    product_code=$(code "Brumalis $arch $version")
    package_code=$(code "Brumalis $arch $version $date $(cd "$work" && sha256sum "$host" "$renderer" brumalis.ico | cut -c1-64 | xargs)")
    # wixl writes the summary's times from the clock and a random package
    # code: the clock is stopped at the date, and msibuild sets the code.
    at=$(TZ=UTC date -d "@$date" '+%Y-%m-%d %H:%M:%S')
    size_kb=$(( ($(stat -c %s "$work/$host") + $(stat -c %s "$work/$renderer") + 1023) / 1024 ))
    (cd "$work" && TZ=UTC faketime -f "$at" wixl -a "$arch" -D Version="$version" -D Arch="$arch" -D Bits="$bits" \
      -D Win64=$win64 -D HostFile="$host" -D RendererFile="$renderer" -D SizeKB=$size_kb -D ProductCode="$product_code" -D UpgradeCode="$upgrade_code" -D SetupEntry="$setup_entry" \
      -o package.msi "$here/brumalis.wxs")
    # wixl leaves the versions of the File table empty, and Windows
    # Installer takes a file without one for a document: a program of the
    # same name on the disk that has a version (an earlier one copied there
    # from the zip, say) would be kept in its place. Both programs carry the
    # package's version and the languages of their file properties
    # (common/version_info.rc2).
    (cd "$work" && msiinfo export package.msi File >File.idt &&
      awk -F '\t' -v OFS='\t' -v version="$version.0" 'NR > 3 { $5 = version; $6 = "1041,1033" } 1' File.idt >File.new &&
      mv File.new File.idt && TZ=UTC faketime -f "$at" msibuild package.msi -i File.idt)
    (cd "$work" && TZ=UTC faketime -f "$at" msibuild package.msi -s "Brumalis $version ($bits-bit)" t-orka \
      "$platform;1033" "{$package_code}")
    made=$work/package.msi
    ;;
  *) echo "package.sh: the kind is setup or msi, not $kind" >&2; exit 2 ;;
esac
[ $sign = 1 ] && "$root/scripts/sign.sh" "$made"
mv "$made" "$out"
