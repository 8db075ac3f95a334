#include "engine/plus_length.h"

#include <cstring>
#include <string>

#include "engine/palette.h"
#include "engine/utf8.h"
#include "engine/xml2plus.h"

namespace tessalune::engine {

namespace {

// Whitespace the conversion drops before it merges colour codes: line ends and tabs.
bool dropped(const pugi::xml_node& node) {
  if (node.type() != pugi::node_pcdata) return false;
  // Only a carriage return or a tab can go first; most text is one visible character.
  const char first = *node.value();
  if (first != '\r' && first != '\t' && first != '\0') return false;
  std::string text = node.value();
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n")) text.erase(p, 2);
  return text.find_first_not_of('\t') == std::string::npos;
}

pugi::xml_node previousShown(pugi::xml_node node) {
  do node = node.previous_sibling();
  while (node && dropped(node));
  return node;
}

pugi::xml_node nextShown(pugi::xml_node node) {
  do node = node.next_sibling();
  while (node && dropped(node));
  return node;
}

bool named(const pugi::xml_node& node, const char* name) {
  return node && node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// A text colour whose code a background directly after it joins.
bool joined(const pugi::xml_node& first, const pugi::xml_node& second) {
  return named(first, "FG") && named(second, "BG");
}

// The marker's own code: the opening, then its colour as a palette index or as written.
std::size_t codeLength(const pugi::xml_node& marker) {
  const std::string colour = marker.attribute("color").value();
  const auto index = paletteIndexOf(colour);
  const std::size_t value = index ? std::to_string(*index).size() : countChars(colour);
  return (named(marker, "BG") ? 3 : 2) + value;
}

}  // namespace

std::size_t plusLength(const platform::XmlDocument& doc) {
  return countChars(xml2plus(doc.xml()));
}

void PlusLength::removing(const platform::XmlNode& node) {
  const pugi::xml_node marker = node.raw();
  const pugi::xml_node before = previousShown(marker);
  const pugi::xml_node after = nextShown(marker);
  total_ -= codeLength(marker);
  // A pair the marker was part of gives back the opening it shared; neighbours that meet
  // once it is gone share one.
  if (joined(before, marker) || joined(marker, after)) total_ += 2;
  if (joined(before, after)) total_ -= 2;
}

}  // namespace tessalune::engine
