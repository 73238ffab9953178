# Files of app/: the application object that wires the layers together.
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_rules.cpp)
list(APPEND APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/archivon_app.cpp)
