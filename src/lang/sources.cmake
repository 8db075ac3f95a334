# The message catalogue's and language files' sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles the colouring part (the catalogue). A new source file goes in one of these lists.
set(tessalune_lang_colouring_sources
  message_catalogue.cpp
  message_variables.cpp)
set(tessalune_lang_sources
  ${tessalune_lang_colouring_sources}
  host_words.cpp
  translation.cpp)
list(TRANSFORM tessalune_lang_colouring_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
list(TRANSFORM tessalune_lang_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
