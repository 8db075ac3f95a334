// What the web page needs of the engine besides tessalune_colour: Plus! text rendered as
// `tessalune render --html` renders it, and its length as the limits count it.
#include <cstddef>
#include <exception>
#include <string>

#include "engine/palette.h"
#include "engine/utf8.h"
#include "plugin/abi/colour_text.h"
#include "plugin/abi/copy_out.h"
#include "views/html_render.h"

using namespace tessalune;

extern "C" {

// tessalune_colour with its refusals and questions in the page's language.
int tessalune_web_colour(const char* text, const char* fg, const char* bg, int flags, int languageId,
                         char** result, char** error) {
  return abi::colourText(text, fg, bg, flags, languageId, result, error);
}

// The HTML fragment of the Plus! text, as a string to release with tessalune_free; NULL
// when it cannot be made (memory).
char* tessalune_web_render_html(const char* plus) {
  try {
    return abi::copyOut(views::renderPlusHtml(plus ? plus : ""));
  } catch (const std::exception&) {
    return nullptr;
  }
}

// Swatch i (0 to 15) of the editor's solid colours, "#RRGGBB"; "" past the last.
const char* tessalune_web_swatch(int i) {
  return i >= 0 && i < static_cast<int>(engine::kEditorSwatches.size())
             ? engine::kEditorSwatches[static_cast<std::size_t>(i)].data()
             : "";
}

// The length of the Plus! text in characters, which the nickname's and the message's
// limits are counted in.
std::size_t tessalune_web_length(const char* plus) {
  return plus ? engine::countChars(plus) : 0;
}

}  // extern "C"
