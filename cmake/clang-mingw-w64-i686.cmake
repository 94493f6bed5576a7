# Debian's clang for 32-bit Windows, with the mingw-w64 headers and the C++
# library headers of the posix-thread mingw-w64 GCC, which clang does not find
# by itself. It compiles the program's sources; it is not set up to link.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_AR /usr/bin/${TOOLCHAIN_PREFIX}-ar)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

file(GLOB _gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
list(GET _gcc_dirs 0 _gcc_dir)
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${_gcc_dir}/include/c++ -isystem ${_gcc_dir}/include/c++/${TOOLCHAIN_PREFIX}")
