# Cross build: both deliverables and the Windows test programs, run under Wine.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
add_link_options(-static -static-libgcc -static-libstdc++)

# The emulator wrapper runs .exe files in the build's private Wine prefix.
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-env.sh.in ${CMAKE_BINARY_DIR}/wine-env.sh @ONLY)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/tmp)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

set(win_libs comctl32 shell32 shlwapi ole32 oleaut32 uuid comdlg32 gdi32 user32 advapi32 ws2_32 winmm secur32 crypt32)

add_library(archivon_platform STATIC ${PLATFORM_SOURCES})
target_link_libraries(archivon_platform PUBLIC archivon_core ${win_libs})

add_library(archivon_app STATIC ${APP_SOURCES})
target_link_libraries(archivon_app PUBLIC archivon_platform Threads::Threads)

set(APP_RESOURCES ${CMAKE_SOURCE_DIR}/res/archivon.rc)
# windres does not report what the script includes; name it, so a changed
# dialog, bitmap or id rebuilds the resources.
file(GLOB res_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
set_source_files_properties(${APP_RESOURCES} PROPERTIES OBJECT_DEPENDS "${res_inputs}")
add_executable(Archivon WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp ${APP_RESOURCES})
target_link_libraries(Archivon PRIVATE archivon_app)

# Files delivered beside the program: the start-up picture, drawn at build
# time, and the help page named like the program.
find_program(PYTHON3 python3 REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/splash.bmp
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/make_images.py --splash ${CMAKE_BINARY_DIR}/splash.bmp
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_images.py
  COMMENT "Drawing splash.bmp")
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Archivon.htm
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/res/help/Archivon.htm ${CMAKE_BINARY_DIR}/Archivon.htm
  DEPENDS ${CMAKE_SOURCE_DIR}/res/help/Archivon.htm)
add_custom_target(beside_program ALL DEPENDS ${CMAKE_BINARY_DIR}/splash.bmp ${CMAKE_BINARY_DIR}/Archivon.htm)

include(${CMAKE_SOURCE_DIR}/helper/targets.cmake OPTIONAL)

# googletest built once per build folder with the cross compiler; our
# warning flags are not imposed on it.
get_directory_property(saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${saved_options}")
# Test code is compiled for build time, not for speed or debugging: its
# templates cost twice as long at -O2 -g, and what it tests is built as
# the product is.
set(test_code_options -O1 -g0)
target_compile_options(gtest PRIVATE ${test_code_options})
target_compile_options(gtest_main PRIVATE ${test_code_options})

include(GoogleTest)
add_library(test_support STATIC ${CMAKE_SOURCE_DIR}/tests/support/crash_guard.cpp
                                ${CMAKE_SOURCE_DIR}/tests/support/test_env.cpp)
target_link_libraries(test_support PUBLIC archivon_platform gtest)
target_compile_options(test_support PRIVATE ${test_code_options})
# The peers and the notification window of the download tests, for the
# service and the window tests alike.
add_library(download_test_support STATIC ${CMAKE_SOURCE_DIR}/tests/support/download_test_support.cpp)
target_link_libraries(download_test_support PUBLIC test_support archivon_app)
target_compile_options(download_test_support PRIVATE ${test_code_options})

# One program per test level; each file added to the level's folder joins it.
function(archivon_test_program name dir prefix)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${ARGN})
  # The crash guard is linked as an object so its static initialiser stays.
  target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/crash_guard_init.cpp)
  target_link_libraries(${name} PRIVATE test_support gtest_main)
  target_compile_options(${name} PRIVATE ${test_code_options})
  set(props TIMEOUT 120)
  # Window tests share the display and the top-level windows with the
  # end-to-end tests and with each other. (A set_tests_properties on the
  # discovered names cannot do this: they are only known at test time.)
  # Service tests take the same lock: both point the prefix's "BaseDir" at
  # a vault of their own.
  if(dir STREQUAL "windows" OR dir STREQUAL "services")
    list(APPEND props RESOURCE_LOCK display)
  endif()
  gtest_discover_tests(${name} TEST_PREFIX "${prefix}." DISCOVERY_TIMEOUT 60
                       PROPERTIES ${props})
endfunction()

archivon_test_program(core_tests_win core wine)
target_link_libraries(core_tests_win PRIVATE archivon_core)
archivon_test_program(service_tests services services ${APP_RESOURCES})
if(TARGET service_tests)
  target_link_libraries(service_tests PRIVATE download_test_support archivon_app)
endif()
archivon_test_program(window_tests windows windows ${APP_RESOURCES})
if(TARGET window_tests)
  target_link_libraries(window_tests PRIVATE download_test_support archivon_app)
endif()

# Small Windows programs the tests start (peers, hand-off targets).
file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
foreach(src ${tool_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE archivon_platform)
endforeach()

# End-to-end tests drive the real programs from shell scripts.
file(GLOB e2e_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
list(FILTER e2e_scripts EXCLUDE REGEX "_lib\\.sh$")
foreach(script ${e2e_scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e.${name} PROPERTIES TIMEOUT 180 RESOURCE_LOCK display)
endforeach()
include(${CMAKE_SOURCE_DIR}/bench/targets.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/installer/targets.cmake)
