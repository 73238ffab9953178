# Files of shell/: every window class of Archivon (Win32).
list(APPEND APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_ctrl_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_ctrl_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_ctrl_view.cpp)
