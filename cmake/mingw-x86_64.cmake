# MinGW-w64, 64-bit: the pair for 64-bit Windows, and the one that runs on
# hosts without 32-bit support.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(BRUMALIS_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
