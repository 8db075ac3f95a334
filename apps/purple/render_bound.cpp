#include "render_bound.h"

#include "engine/utf8.h"
#include "targets/html_render.h"

namespace tessalune::purple {

std::optional<std::string> renderReceivedText(std::string_view text) {
  if (engine::countChars(text) > kColouredMessageLimit) return std::nullopt;
  return targets::renderPlusCodes(text, targets::HtmlMarkup::ChatTags);
}

}  // namespace tessalune::purple
