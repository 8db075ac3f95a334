#include "shown_names.h"

#include "engine/limits.h"
#include "engine/utf8.h"
#include "views/html_render.h"

namespace tessalune::purple {

std::optional<std::string> renderNameLabel(std::string_view name) {
  if (engine::countChars(name) > static_cast<std::size_t>(engine::kNicknameLimit)) return std::nullopt;
  std::optional<std::string> rendered = views::renderPlusCodes(name, views::HtmlMarkup::Pango);
  if (!rendered) return std::nullopt;
  return "<span foreground=\"#000000\">" + *rendered + "</span>";
}

const std::optional<std::string>& NameLabels::label(const std::string& contact, std::string_view name) {
  auto known = labels_.find(contact);
  if (known == labels_.end()) {
    known = labels_.emplace(contact, Rendered{std::string(name), {}}).first;
  } else if (known->second.name == name) {
    return known->second.label;
  } else {
    known->second.name = name;
  }
  known->second.label = renderNameLabel(name);
  return known->second.label;
}

}  // namespace tessalune::purple
