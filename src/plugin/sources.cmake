# The plug-in's sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part (the colour function's silent conversion). A new source file goes in one of these lists.
set(tessalune_plugin_colouring_sources
  silent_conversion.cpp
  target_conversion.cpp)
set(tessalune_plugin_sources
  ${tessalune_plugin_colouring_sources}
  command_table.cpp
  plugin.cpp
  plugin_dispatch.cpp
  plugin_folder.cpp
  plugin_windows.cpp
  requests.cpp
  settings_session.cpp)
foreach(list IN ITEMS plugin_colouring plugin)
  list(TRANSFORM tessalune_${list}_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
