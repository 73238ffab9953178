# Windows bench programs for disk, network and windows (run by scripts/bench-*.sh
# or directly under Wine; the list bench needs a display).
add_executable(download_bench ${CMAKE_SOURCE_DIR}/bench/download_bench.cpp)
target_link_libraries(download_bench PRIVATE archivon_app psapi)
add_executable(list_fill_bench ${CMAKE_SOURCE_DIR}/bench/list_fill_bench.cpp ${APP_RESOURCES})
target_link_libraries(list_fill_bench PRIVATE archivon_app)
add_executable(jobs_view_bench ${CMAKE_SOURCE_DIR}/bench/jobs_view_bench.cpp ${APP_RESOURCES})
target_link_libraries(jobs_view_bench PRIVATE archivon_app)
add_executable(encryption_bench ${CMAKE_SOURCE_DIR}/bench/encryption_bench.cpp)
target_link_libraries(encryption_bench PRIVATE archivon_app psapi)
add_executable(handoff_bench ${CMAKE_SOURCE_DIR}/bench/handoff_bench.cpp)
target_link_libraries(handoff_bench PRIVATE ole32 oleaut32 user32 psapi)
add_dependencies(handoff_bench Gleanix)
