# The release archive clipboard-<version>-win64.zip in the build folder: the
# executable (stripped), the README and the licence, nothing else. Built with
# everything else; on its own: cmake --build build --target release_archive.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CLIP_ARCHIVE_PLATFORM win64)
else()
  set(CLIP_ARCHIVE_PLATFORM win32)
endif()
# In the cache, where scripts/release.sh finds it.
set(CLIP_RELEASE_ARCHIVE ${CMAKE_BINARY_DIR}/clipboard-${PROJECT_VERSION}-${CLIP_ARCHIVE_PLATFORM}.zip
  CACHE INTERNAL "The release archive")
set(CLIP_RELEASE_FILES clipboard.exe README.md LICENSE)
set(_stage ${CMAKE_BINARY_DIR}/release)

set(_strip_exe "")
if(MINGW AND CMAKE_STRIP)
  set(_strip_exe COMMAND ${CMAKE_STRIP} ${_stage}/clipboard.exe)
endif()

add_custom_command(OUTPUT ${CLIP_RELEASE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:clipboard>
    ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE ${_stage}
  ${_strip_exe}
  COMMAND ${CMAKE_COMMAND} -E remove -f ${CLIP_RELEASE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_stage}
    ${CMAKE_COMMAND} -E tar cf ${CLIP_RELEASE_ARCHIVE} --format=zip ${CLIP_RELEASE_FILES}
  DEPENDS clipboard ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
  COMMENT "Packing ${CLIP_RELEASE_ARCHIVE}"
  VERBATIM)
add_custom_target(release_archive ALL DEPENDS ${CLIP_RELEASE_ARCHIVE})