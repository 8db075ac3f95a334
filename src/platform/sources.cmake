# The platform services' sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part (files, language, XML) with its own strict XML reading. A new source file goes in one of these lists.
set(tessalune_platform_colouring_sources
  file_system.cpp
  ui_language.cpp
  xml_character_check.cpp
  xml_document.cpp
  xml_text.cpp)
set(tessalune_platform_sources
  ${tessalune_platform_colouring_sources}
  scripted_dialogs.cpp
  lock_file.cpp
  xml_strict_libxml2.cpp
  terminal_colour.cpp
  terminal_dialogs.cpp
  user_folders.cpp)
list(TRANSFORM tessalune_platform_colouring_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
list(TRANSFORM tessalune_platform_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
