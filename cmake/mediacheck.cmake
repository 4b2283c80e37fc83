# The media checker's sources that build on every platform; each build adds its own file-system
# unit (src/mediacheck/media_files_win32.cpp, src/mediacheck/media_files_posix.cpp).
set(MEDIACHECK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/install_checks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/known_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/media_paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/name_checks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/script_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/mediacheck/value_checks.cpp)
