# Files of vault/: CORE_SOURCES portable, APP_SOURCES (or HELPER_SOURCES) Win32.
list(APPEND APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/folder_tree.cpp)
list(APPEND APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/list_ctrl_view.cpp)
list(APPEND APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/tree_ctrl_view.cpp)
