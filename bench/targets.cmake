# Windows bench programs for disk and network (run by scripts/bench-*.sh).
add_executable(download_bench ${CMAKE_SOURCE_DIR}/bench/download_bench.cpp)
target_link_libraries(download_bench PRIVATE archivon_app psapi)
