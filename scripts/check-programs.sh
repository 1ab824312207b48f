#!/usr/bin/env bash
# Checks the two shipped programs of a Windows build without running them:
# each is a GUI program of the build's architecture whose import table names
# only the system's known DLLs, so it needs no MinGW runtime DLL beside it
# and loads nothing from its own folder, carries the application
# manifest (DPI-aware per monitor, made for Windows 7 to 11) and stays within
# its size.
#
#   scripts/check-programs.sh win32|win64 BIN_DIR
set -eu
export LC_ALL=C  # objdump speaks the locale's language
arch=$1 bin=$2
case "$arch" in
  win32) tools=i686-w64-mingw32 format=pei-i386 magic=010b kind=PE32 ;;
  win64) tools=x86_64-w64-mingw32 format=pei-x86-64 magic=020b kind=PE32+ ;;
  *) echo "unknown architecture: $arch" >&2; exit 2 ;;
esac
objdump=$tools-objdump windres=$tools-windres
source "$(dirname "$0")/shared-names.sh"
host=$(shared_name HOST_FILE) renderer=$(shared_name RENDERER_FILE)
# What the manifest must say: the DPI awareness, and the compatibility
# entries of Windows 7, 8, 8.1 and 10/11.
manifest_lines=('<dpiAware xmlns=""http://schemas.microsoft.com/SMI/2005/WindowsSettings"">true/PM</dpiAware>'
  '<dpiAwareness xmlns=""http://schemas.microsoft.com/SMI/2016/WindowsSettings"">PerMonitorV2,PerMonitor</dpiAwareness>'
  '<supportedOS Id=""{35138b9a-5d96-4fbd-8e2d-a2440225f93a}""/>'
  '<supportedOS Id=""{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}""/>'
  '<supportedOS Id=""{1f676c76-80e1-4239-95bb-83d0f6d0da78}""/>'
  '<supportedOS Id=""{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}""/>')
# The libraries Windows 7 to 11 keep for themselves (KnownDLLs), which the
# loader never looks for in the program's folder. Any other library a
# program names in its import table would be looked for there first, so the
# programs delay-load every other one from the system folder
# (cmake/BrumalisSystemLibraries.cmake).
# comdlg32 is one, but what it imports need not be: it is delay-loaded too.
# ntdll is in every process before any other library and never looked for.
known_dlls=(ntdll.dll kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
  msvcrt.dll shlwapi.dll)

# The most each program may weigh, in bytes: the C++ runtime's stream and
# locale machinery, or a picture stored uncompressed, would take it past.
declare -A most_bytes=([$host]=$((800 * 1024)) [$renderer]=$((100 * 1024 - 1)))

failed=0
for name in "$host" "$renderer"; do
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
    [[ " ${known_dlls[*]} " == *" $dll "* ]] || problems+=("imports $dll, which is not a known DLL")
  done
  # The delay imports' names lie in the file as plain text; the linker sets
  # no directory entry for them that objdump would read.
  delayed=$(strings -a "$file" | grep -xiE '[a-z0-9_]+\.dll' | tr 'A-Z' 'a-z' | sort -u | grep -vxF "$imports" || true)
  # The resources as windres lists them: the manifest is resource 1 of type
  # 24, one quoted line of text per line of the file.
  resources=$("$windres" -J coff -O rc -i "$file" 2>&1) || problems+=("resources unreadable")
  manifest=$(sed -n '/^1 24 /,/^END/p' <<<"$resources")
  if [ -z "$manifest" ]; then
    problems+=("no application manifest")
  else
    for line in "${manifest_lines[@]}"; do
      grep -qF "$line" <<<"$manifest" || problems+=("manifest lacks $line")
    done
  fi
  bytes=$(stat -c %s "$file")
  [ "$bytes" -le "${most_bytes[$name]}" ] || problems+=("$bytes bytes, more than ${most_bytes[$name]}")
  if [ ${#problems[@]} -eq 0 ]; then
    echo "$name: $kind $format GUI program, imports only known DLLs ($(echo $imports | tr ' ' ',')), delay-loads $(echo $delayed | tr ' ' ','), manifest: DPI-aware, Windows 7-11, $bytes bytes"
  else
    echo "$name: $(IFS=';'; echo "${problems[*]}")"
    failed=1
  fi
done
exit $failed
