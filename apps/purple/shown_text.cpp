#include "shown_text.h"

#include <dlfcn.h>
#include <purple.h>

#include "render_bound.h"
#include "targets/html_render.h"

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

engine::ColourNumber clientBackground() {
  // GTK 2's, looked up in the process (Pidgin has it): the plug-in does not link it.
  struct GdkColour {
    guint32 pixel;
    guint16 red, green, blue;
  };
  using DefaultStyle = void* (*)();
  using LookUpColour = gboolean (*)(void*, const gchar*, GdkColour*);
  auto defaultStyle = reinterpret_cast<DefaultStyle>(dlsym(RTLD_DEFAULT, "gtk_widget_get_default_style"));
  auto lookUp = reinterpret_cast<LookUpColour>(dlsym(RTLD_DEFAULT, "gtk_style_lookup_color"));
  GdkColour colour{};
  void* style = defaultStyle ? defaultStyle() : nullptr;
  // A theme that names no colours is GTK's own, whose windows are this grey.
  if (!style || !lookUp || !lookUp(style, "bg_color", &colour)) return engine::makeColour(0xDC, 0xDA, 0xD5);
  return engine::makeColour(colour.red >> 8, colour.green >> 8, colour.blue >> 8);
}

std::string renderPlus(const std::string& plus) {
  return onLightPaper(targets::renderPlusHtml(plus, targets::HtmlMarkup::ChatTags));
}

}  // namespace tessalune::purple
