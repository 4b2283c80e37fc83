# The platform-neutral core: the parts of src/core that need nothing of Windows but a few text
# and memory calls, so that native programs build them too (src/native/CMakeLists.txt). The
# Windows build takes them with the rest of src/core.
set(NEUTRAL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/globals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/log_entries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/script_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/section_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/core/version.cpp)
