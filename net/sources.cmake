# Files of net/: CORE_SOURCES portable, APP_SOURCES (or HELPER_SOURCES) Win32.
list(APPEND CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_naming.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftp_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_head.cpp
  ${CMAKE_CURRENT_LIST_DIR}/job_url.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tls_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_agent.cpp)
list(APPEND APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/download_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/download_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/download_thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftp_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/net_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_connect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tls_channel.cpp)
