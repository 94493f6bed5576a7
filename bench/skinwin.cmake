# Skin on a real window: attach, full repaint with and without the skin, one
# button blend, on the application's main window.
add_executable(skin_window_bench ${CMAKE_CURRENT_LIST_DIR}/skin_window_bench.cpp)
target_link_libraries(skin_window_bench PRIVATE app_core project_warnings)
if(MINGW)
  target_link_options(skin_window_bench PRIVATE -municode)
endif()
