# Skin engine: image build, nine-piece stretch and colour-keyed copy.
add_executable(skin_bench ${CMAKE_CURRENT_LIST_DIR}/skin_bench.cpp)
target_link_libraries(skin_bench PRIVATE skin project_warnings)
