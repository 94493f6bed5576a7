# Command button fade: one step, and all eighteen buttons of the main window
# fading at once on their timers.
add_executable(fade_bench ${CMAKE_CURRENT_LIST_DIR}/fade_bench.cpp)
target_link_libraries(fade_bench PRIVATE app_core project_warnings)
if(MINGW)
  target_link_options(fade_bench PRIVATE -municode)
endif()
