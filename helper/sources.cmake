# Files of helper/: CORE_SOURCES portable, APP_SOURCES (or HELPER_SOURCES) Win32.
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/picked_text_rules.cpp)
