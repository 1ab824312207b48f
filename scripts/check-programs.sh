#!/usr/bin/env bash
# Checks the two shipped programs of a Windows build without running them:
# each is a GUI program of the build's architecture that imports system DLLs
# only, so it needs no MinGW runtime DLL beside it.
#
#   scripts/check-programs.sh win32|win64 BIN_DIR
set -eu
export LC_ALL=C  # objdump speaks the locale's language
arch=$1 bin=$2
case "$arch" in
  win32) objdump=i686-w64-mingw32-objdump format=pei-i386 magic=010b kind=PE32 ;;
  win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 magic=020b kind=PE32+ ;;
  *) echo "unknown architecture: $arch" >&2; exit 2 ;;
esac
# What Windows itself provides to these programs.
system_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll comctl32.dll
  winmm.dll opengl32.dll glu32.dll msvcrt.dll ole32.dll oleaut32.dll shlwapi.dll version.dll)

failed=0
for name in Brumalis.scr Brumalis.dll; do
  file="$bin/$name"
  problems=()
  if [ ! -f "$file" ]; then
    echo "$name: missing from $bin"
    failed=1
    continue
  fi
  headers=$("$objdump" -p "$file" 2>&1) || problems+=("not a program objdump reads")
  grep -q "file format $format\$" <<<"$headers" || problems+=("not $format")
  grep -q "^Magic[[:space:]]*$magic[[:space:]]" <<<"$headers" || problems+=("not $kind")
  grep -q "^Subsystem[[:space:]]*00000002" <<<"$headers" || problems+=("not a Windows GUI program")
  # The flags are listed one a line under "Characteristics", up to a blank line.
  flags=$(sed -n '/^Characteristics/,/^$/p' <<<"$headers")
  grep -qx "[[:space:]]*executable" <<<"$flags" || problems+=("not executable")
  grep -qx "[[:space:]]*DLL" <<<"$flags" && problems+=("built as a DLL")
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    [[ " ${system_dlls[*]} " == *" $dll "* ]] || problems+=("imports $dll")
  done
  if [ ${#problems[@]} -eq 0 ]; then
    echo "$name: $kind $format GUI program, imports only system DLLs ($(echo $imports | tr ' ' ','))"
  else
    echo "$name: $(IFS=';'; echo "${problems[*]}")"
    failed=1
  fi
done
exit $failed
