# Slot store: load and save of the nine slots against a bare open/close, one
# slot's write against a plain file, typing into the window with the writes.
add_executable(slot_bench ${CMAKE_CURRENT_LIST_DIR}/slot_bench.cpp)
target_link_libraries(slot_bench PRIVATE app_core slot_store sqlite3 project_warnings)
# The Jet sample files are found beside the sources.
target_compile_definitions(slot_bench PRIVATE "CLIP_SOURCE_DIR=L\"${CMAKE_SOURCE_DIR}\"")
