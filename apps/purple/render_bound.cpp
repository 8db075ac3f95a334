#include "render_bound.h"

#include "engine/utf8.h"
#include "views/html_render.h"

namespace tessalune::purple {

std::optional<std::string> renderReceivedText(std::string_view text) {
  if (engine::countChars(text) > kColouredMessageLimit) return std::nullopt;
  return views::renderPlusCodes(text, views::HtmlMarkup::ChatTags);
}

}  // namespace tessalune::purple
