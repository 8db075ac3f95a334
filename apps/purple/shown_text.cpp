#include "shown_text.h"

#include <purple.h>

#include "views/html_render.h"

namespace tessalune::purple {

std::optional<std::string> renderShownMessage(const char* html) {
  if (!html) return std::nullopt;
  // The codes are read in the text itself: the italic one arrives as "&amp;".
  char* text = purple_markup_strip_html(html);
  std::optional<std::string> rendered = views::renderPlusCodes(text ? text : "", views::HtmlMarkup::ChatTags);
  g_free(text);
  if (!rendered) return std::nullopt;
  return "<font color=\"#000000\">" + *rendered + "</font>";
}

}  // namespace tessalune::purple
