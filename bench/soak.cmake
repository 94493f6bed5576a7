# Long use of the skin: GDI objects and private bytes over many input and
# attach / detach cycles.
add_executable(skin_soak_bench ${CMAKE_CURRENT_LIST_DIR}/skin_soak_bench.cpp)
target_link_libraries(skin_soak_bench PRIVATE app_core psapi project_warnings)
if(MINGW)
  target_link_options(skin_soak_bench PRIVATE -municode)
endif()

# One quick pass of the pointer over each button, with and without the skin.
add_executable(burst_bench ${CMAKE_CURRENT_LIST_DIR}/burst_bench.cpp)
target_link_libraries(burst_bench PRIVATE app_core project_warnings)
if(MINGW)
  target_link_options(burst_bench PRIVATE -municode)
endif()
