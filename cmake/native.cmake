# Native build of the portable core: unit tests under sanitizers, fuzz
# targets (clang) and the core benchmarks.
option(ARCHIVON_SANITIZE "Build with AddressSanitizer and UBSan" ON)
set(ARCHIVON_FUZZ OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(ARCHIVON_FUZZ ON)
endif()

if(ARCHIVON_SANITIZE)
  set(san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  if(ARCHIVON_FUZZ)
    list(APPEND san -fsanitize=fuzzer-no-link)
  endif()
  add_compile_options(${san})
  add_link_options(-fsanitize=address,undefined)
  # archivon_core was declared before these options; give it them too.
  target_compile_options(archivon_core PRIVATE ${san})
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp)
add_executable(core_tests ${CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE archivon_core GTest::gtest_main Threads::Threads)
gtest_discover_tests(core_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 60)

if(ARCHIVON_FUZZ AND ARCHIVON_SANITIZE)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE archivon_core)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(seed ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
    set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${work} ${seed})
    # A few seconds each in the test run; scripts/fuzz.sh runs them longer.
    add_test(NAME fuzz.${name}
             COMMAND ${name} -max_total_time=4 -seed=1 -rss_limit_mb=1024 ${work} ${seed})
  endforeach()
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/core/*.cpp)
  if(BENCH_SOURCES)
    add_executable(core_bench ${BENCH_SOURCES})
    target_link_libraries(core_bench PRIVATE archivon_core benchmark::benchmark_main)
  endif()
endif()

# The include rule of the layers, checked on every test run.
add_test(NAME layers.includes_point_down COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh ${CMAKE_SOURCE_DIR})
