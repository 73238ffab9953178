list(APPEND CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/archive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_port.cpp)
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/handoff_record.cpp)
list(APPEND PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/browse_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hyperlink_static.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_url.cpp)
