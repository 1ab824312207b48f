# Sourced: the Linux libraries that Wine loads for our programs, for each
# half (amd64 for the 64-bit loader, i386 for the 32-bit one), and the Debian
# packages that hold them. The one list that both the dependency install and
# the test run's check read.
#
# Wine's libwine package depends on few of them: most are dlopened by name
# at run time and only recommended, so an install without recommends, or a
# half installed as a foreign architecture, leaves them out. A missing one
# does not fail loudly: without libXinerama Wine reports one monitor, without
# libXrender text loses its smoothing, without a GStreamer decoder an MP3
# does not open. Read off Wine 8.0's unix libraries (strings and NEEDED):
#   winex11.so   libGL, libXcomposite, libXcursor, libXfixes, libXi,
#                libXinerama, libXrandr, libXrender, libXxf86vm (and libvulkan,
#                which only Vulkan programs need)
#   opengl32.so  through winex11's libGL: Mesa's GLX and its software driver
#   win32u.so    libfreetype, libfontconfig (and libOSMesa, for GL on DIB
#                sections, which our programs do not use)
#   winepulse.so libpulse
#   winegstreamer.so  libgstreamer, libgstaudio, libgstvideo, and the
#                plugins that decode MP3 and WAV
# Each line: a file under the architecture's library folder, its package.
_brumalis_wine_libraries=(
  "libGL.so.1 libgl1"
  "libGLX_mesa.so.0 libglx-mesa0"
  "dri/swrast_dri.so libgl1-mesa-dri"
  "libGLU.so.1 libglu1-mesa"
  "libXcomposite.so.1 libxcomposite1"
  "libXcursor.so.1 libxcursor1"
  "libXfixes.so.3 libxfixes3"
  "libXi.so.6 libxi6"
  "libXinerama.so.1 libxinerama1"
  "libXrandr.so.2 libxrandr2"
  "libXrender.so.1 libxrender1"
  "libXxf86vm.so.1 libxxf86vm1"
  "libfreetype.so.6 libfreetype6"
  "libfontconfig.so.1 libfontconfig1"
  "libpulse.so.0 libpulse0"
  "libgstreamer-1.0.so.0 libgstreamer1.0-0"
  "libgstaudio-1.0.so.0 libgstreamer-plugins-base1.0-0"
  "gstreamer-1.0/libgstaudioconvert.so gstreamer1.0-plugins-base"
  "gstreamer-1.0/libgstwavparse.so gstreamer1.0-plugins-good"
  "gstreamer-1.0/libgstmpg123.so gstreamer1.0-plugins-good"
  "gstreamer-1.0/libgstasf.so gstreamer1.0-plugins-ugly"
  "gstreamer-1.0/libgstlibav.so gstreamer1.0-libav"
)

# The library folder of a Windows architecture's Wine half.
brumalis_wine_libdir() {
  case "$1" in
    win32) echo /usr/lib/i386-linux-gnu ;;
    win64) echo /usr/lib/x86_64-linux-gnu ;;
    *) echo "unknown Windows architecture: $1" >&2; return 1 ;;
  esac
}

# The packages of the list, one a line, with ":i386" for the 32-bit half.
brumalis_wine_packages() {
  local suffix="" entry
  [ "$1" = win32 ] && suffix=":i386"
  for entry in "${_brumalis_wine_libraries[@]}"; do
    echo "${entry#* }$suffix"
  done | sort -u
}

# Prints "file (package)" for each library of the list that the half lacks;
# succeeds only when none is missing.
brumalis_missing_wine_libraries() {
  local dir entry missing=0
  dir=$(brumalis_wine_libdir "$1") || return 1
  for entry in "${_brumalis_wine_libraries[@]}"; do
    if [ ! -e "$dir/${entry%% *}" ]; then
      echo "$dir/${entry%% *} (package ${entry#* }$([ "$1" = win32 ] && echo :i386))"
      missing=1
    fi
  done
  return $missing
}
