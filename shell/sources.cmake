# Files of shell/: every window class of Archivon (Win32), and the
# portable decoder of the splash picture's file.
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/dib_format.cpp)
list(APPEND APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archivon_doc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archivon_prop_sheet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busy_pump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/download_property_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_ctrl_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/general_prop_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handoff_receiver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/job_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jobs_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_ctrl_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picker_param_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_list_ctrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_prop_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_tray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_ctrl_view.cpp)
