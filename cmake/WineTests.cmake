# Test helpers: GoogleTest built from source with the project's compiler, test
# executables run under Wine (the cross-compiling emulator), end-to-end scripts
# run with bash against the real program.
include(GoogleTest)

set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
option(CLIP_FETCH_GTEST "Fetch the GoogleTest sources (release 1.14.0) at configure time" OFF)
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # The tests link the static C run-time like the program (MSVC).
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  if(CLIP_FETCH_GTEST)
    include(FetchContent)
    FetchContent_Declare(googletest
      GIT_REPOSITORY https://github.com/google/googletest.git
      GIT_TAG v1.14.0
      GIT_SHALLOW TRUE)
    FetchContent_MakeAvailable(googletest)
  else()
    if(NOT EXISTS "${GTEST_SOURCE_DIR}/CMakeLists.txt")
      message(FATAL_ERROR "GoogleTest sources not found in ${GTEST_SOURCE_DIR} "
        "(Debian package googletest; or pass -DGTEST_SOURCE_DIR=... or -DCLIP_FETCH_GTEST=ON)")
    endif()
    add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endif()

# Every test process runs in its own Wine prefix in the build tree, quiet, in
# a Chinese locale so that CJK text renders. Test executables get this through
# the emulator wrapper (used for discovery and for the runs alike); the
# end-to-end scripts through their environment.
set(CLIP_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for the tests")
# The end-to-end runs have a prefix (and, through scripts/test.sh, an X
# display) of their own: their program holds the hotkeys and the clipboard of
# its Wine session, which the unit tests' windows must not meet.
set(CLIP_E2E_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix-e2e" CACHE PATH "Wine prefix for the end-to-end tests")
if(CMAKE_CROSSCOMPILING AND WINE_EXECUTABLE)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()
set(CLIP_TEST_ENV
  "WINEPREFIX=${CLIP_WINEPREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml=d"
  "LANG=zh_CN.UTF-8"
  "LC_ALL=zh_CN.UTF-8")

# Test programs that must run with the same common controls version as the
# program itself embed its manifest.
set(CLIP_TEST_MANIFEST_RC ${CMAKE_BINARY_DIR}/test_manifest.rc)
file(WRITE ${CLIP_TEST_MANIFEST_RC}
  "#include <windows.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${CMAKE_SOURCE_DIR}/app/resources/clipboard.manifest\"\n")

# clip_add_gtest(<name> SOURCES ... [LIBRARIES ...] [MANIFEST] [DESKTOP])
# One ctest test per executable: all of its cases run in one Wine process, so
# cases in one executable must leave no window, timer or skin state behind.
# MANIFEST embeds the program's manifest (common controls 6). DESKTOP: the
# test's windows use the shared display, hotkeys, clipboard or pointer, so no
# other such test runs beside it.
function(clip_add_gtest name)
  cmake_parse_arguments(ARG "DESKTOP;MANIFEST" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} project_warnings gtest gmock gtest_main)
  if(ARG_MANIFEST)
    target_sources(${name} PRIVATE ${CLIP_TEST_MANIFEST_RC})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS unit)
  if(ARG_DESKTOP)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# clip_add_e2e_test(<name> <script> [args...]): a bash script driving the real
# program with xdotool/xclip. End-to-end runs share their display, clipboard
# and keyboard with each other, so they run one at a time, in a prefix and on
# a display (CLIP_E2E_DISPLAY) apart from the unit tests'. Their chain is the
# longest of the suite, so they are started first (the highest COST); the
# other tests fill the second slot beside them.
function(clip_add_e2e_test name script)
  string(REPLACE "WINEPREFIX=${CLIP_WINEPREFIX}" "WINEPREFIX=${CLIP_E2E_WINEPREFIX}" e2e_env "${CLIP_TEST_ENV}")
  add_test(NAME ${name}
    COMMAND bash ${script} ${ARGN}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${e2e_env};CLIP_EXE=$<TARGET_FILE:clipboard>;CLIP_SOURCE_DIR=${CMAKE_SOURCE_DIR};CLIP_BINARY_DIR=${CMAKE_BINARY_DIR};CLIP_ARCHIVE=${CLIP_RELEASE_ARCHIVE}"
    RESOURCE_LOCK e2e
    COST 1000
    TIMEOUT 300
    LABELS e2e)
endfunction()
