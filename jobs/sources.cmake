# Files of jobs/: CORE_SOURCES portable, APP_SOURCES Win32 services.
list(APPEND CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/job_cells.cpp ${CMAKE_CURRENT_LIST_DIR}/job_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/web_picker.cpp)
list(APPEND APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/download_job.cpp ${CMAKE_CURRENT_LIST_DIR}/job_manager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_store.cpp)
