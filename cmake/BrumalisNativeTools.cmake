# The Windows builds run one program of their own host at build time:
# cloud-slice, which draws the settings dialog's sky icon from the renderer's
# cloud texture, and against which the same-slices test holds the Windows
# cloud bytes. Each Windows build makes it in a native build of this project
# of its own, under native-tools/ in its build folder, configured with
# BRUMALIS_NATIVE_TOOLS_ONLY (the portable code cloud-slice needs, the same
# flags as the native build, no tests) and the host's compiler: the
# toolchain file stays with the outer build.
#
# It is rebuilt on every build of the outer one, so that it always has the
# current sources; a no-op when nothing changed. Its compiles go through the
# compiler cache like every other.
#
# Sets BRUMALIS_NATIVE_TOOLS_BIN (the folder of the native tools) and
# BRUMALIS_CLOUD_SLICE (the program); a custom command that runs it depends
# on both the file and the target native_tools.
include(ExternalProject)

set(BRUMALIS_NATIVE_TOOLS_BIN ${CMAKE_BINARY_DIR}/native-tools/build/bin)
set(BRUMALIS_CLOUD_SLICE ${BRUMALIS_NATIVE_TOOLS_BIN}/cloud-slice)

ExternalProject_Add(native_tools
  PREFIX ${CMAKE_BINARY_DIR}/native-tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/native-tools/build
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DBRUMALIS_NATIVE_TOOLS_ONLY=ON
             -DBRUMALIS_WERROR=${BRUMALIS_WERROR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target cloud-slice
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${BRUMALIS_CLOUD_SLICE}
  INSTALL_COMMAND ""
  LOG_CONFIGURE ON
  LOG_OUTPUT_ON_FAILURE ON)
