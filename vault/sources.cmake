# Files of vault/: CORE_SOURCES portable, APP_SOURCES Win32 services.
list(APPEND CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/base_directory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/case_fold.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalog_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collision_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/des.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/integrity_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/encrypted_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/password_key.cpp
  ${CMAKE_CURRENT_LIST_DIR}/working_copy_rules.cpp)
list(APPEND APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/catalog_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_encryption.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_status.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_catalog_walk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/integrity_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_case_fold.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_file_ops.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vault_context.cpp
  ${CMAKE_CURRENT_LIST_DIR}/working_copies.cpp)
