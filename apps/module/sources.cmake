# The loadable module's sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part (the colour function). A new source file goes in one of these lists.
set(tessalune_module_colouring_sources
  tessalune_colour.cpp)
set(tessalune_module_sources
  tessalune_plugin.cpp
  ${tessalune_module_colouring_sources})
foreach(list IN ITEMS module_colouring module)
  list(TRANSFORM tessalune_${list}_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
