# Slot store: load and save of the nine slots against a bare open/close.
add_executable(slot_bench ${CMAKE_CURRENT_LIST_DIR}/slot_bench.cpp)
target_link_libraries(slot_bench PRIVATE slot_store sqlite3 project_warnings)
