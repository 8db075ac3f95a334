# The error handling's sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part. A new source file goes in one of these lists.
set(tessalune_errors_colouring_sources
  loop_watchdog.cpp
  routine_guard.cpp
  titles.cpp)
set(tessalune_errors_sources
  ${tessalune_errors_colouring_sources}
  plugin_error_report.cpp)
list(TRANSFORM tessalune_errors_colouring_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
list(TRANSFORM tessalune_errors_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
