# Files of helper/: CORE_SOURCES portable, APP_SOURCES (or HELPER_SOURCES) Win32.
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/picked_text_rules.cpp)
list(APPEND HELPER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/control_panel_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dll_exports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/guids.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handoff_sender.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_gather.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picked_text_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registration.cpp)
