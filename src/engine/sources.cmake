# The engine's sources: read by this folder's CMakeLists.txt and by the web build (web/CMakeLists.txt),
# which compiles all of them. A new source file goes in one of these lists.
set(tessalune_engine_sources
  colour.cpp
  cp1252.cpp
  direct_colouring.cpp
  gradient.cpp
  grapheme_ranges.cpp
  graphemes.cpp
  palette.cpp
  plus2rtf.cpp
  plus_to_styled_text.cpp
  plus_length.cpp
  rich_text_box.cpp
  rtf2xml.cpp
  rtf_reader.cpp
  rtf_writer.cpp
  side_style.cpp
  styled_text.cpp
  utf8.cpp
  xml2plus.cpp)
list(TRANSFORM tessalune_engine_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
