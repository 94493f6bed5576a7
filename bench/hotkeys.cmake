# Hotkeys: Alt+digit store and Ctrl+digit paste on the real main window,
# beside bare message round trips.
add_executable(hotkey_bench ${CMAKE_CURRENT_LIST_DIR}/hotkey_bench.cpp)
target_link_libraries(hotkey_bench PRIVATE app_core project_warnings)
if(MINGW)
  target_link_options(hotkey_bench PRIVATE -municode)
endif()
