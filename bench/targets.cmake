# Windows bench programs for disk, network and windows (run by scripts/bench-*.sh
# or directly under Wine; the list bench needs a display).
add_executable(find_integrity_bench ${CMAKE_SOURCE_DIR}/bench/find_integrity_bench.cpp ${APP_RESOURCES})
target_link_libraries(find_integrity_bench PRIVATE archivon_app)
add_executable(download_bench ${CMAKE_SOURCE_DIR}/bench/download_bench.cpp)
target_link_libraries(download_bench PRIVATE archivon_app psapi)
add_executable(list_fill_bench ${CMAKE_SOURCE_DIR}/bench/list_fill_bench.cpp ${APP_RESOURCES})
target_link_libraries(list_fill_bench PRIVATE archivon_app)
