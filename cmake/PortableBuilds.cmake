# The program compiled for 32-bit Windows with GCC and with clang, as tests so
# that every full run of the suite checks that it stays pointer-size clean.
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  foreach(compiler gcc clang)
    add_test(NAME build.i686_${compiler}
      COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/portable_build.sh ${compiler})
    set_tests_properties(build.i686_${compiler} PROPERTIES
      ENVIRONMENT "CLIP_BUILD_DIR=${CMAKE_BINARY_DIR};CLIP_SQLITE_DIR=${SQLITE_SOURCE_DIR}"
      TIMEOUT 900 LABELS build)
  endforeach()
endif()
