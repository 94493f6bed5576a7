# Cross-compiling for 32-bit Windows. Programs built with it cannot run on
# these machines; the build only shows that the code is pointer-size clean.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
