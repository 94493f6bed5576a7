# The parts without Windows calls (the Jet reader, its tests, jet_dump) built
# and tested natively with the host compiler, as one test of the suite.
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  add_test(NAME jet.native COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/native_build.sh)
  set_tests_properties(jet.native PROPERTIES
    ENVIRONMENT "CLIP_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 900 LABELS unit)
endif()
