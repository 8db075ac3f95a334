#include "shown_text.h"

#include <purple.h>

#include "render_bound.h"
#include "views/html_render.h"

namespace tessalune::purple {

namespace {

std::string onLightPaper(const std::string& html) {
  return "<font color=\"#000000\">" + html + "</font>";
}

}  // namespace

std::optional<std::string> renderShownMessage(const char* html) {
  if (!html) return std::nullopt;
  // The codes are read in the text itself: the italic one arrives as "&amp;".
  char* text = purple_markup_strip_html(html);
  std::optional<std::string> rendered = renderReceivedText(text ? text : "");
  g_free(text);
  if (!rendered) return std::nullopt;
  return onLightPaper(*rendered);
}

std::string renderPlus(const std::string& plus) {
  return onLightPaper(views::renderPlusHtml(plus, views::HtmlMarkup::ChatTags));
}

}  // namespace tessalune::purple
