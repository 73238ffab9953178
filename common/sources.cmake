# Files of common/: CORE_SOURCES portable, PLATFORM_SOURCES the Win32 ground
# both deliverables stand on (wrappers, window base, settings, UI port).
list(APPEND CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/archive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fill_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handoff_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/integer_field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posted_pointers.cpp)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/browse_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hyperlink_static.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_url.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/file_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/folder_enumerator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/handle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/reg_key.cpp)
