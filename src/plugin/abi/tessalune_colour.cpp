// Direct colouring through the C interface, with nothing else of the plug-in: the loadable
// module and the web build both carry this file.
#include <cstdlib>
#include <exception>
#include <string>

#include "engine/direct_colouring.h"
#include "engine/limits.h"
#include "engine/side_style.h"
#include "lang/message_catalogue.h"
#include "lang/message_variables.h"
#include "platform/ui_language.h"
#include "plugin/abi/colour_text.h"
#include "plugin/abi/copy_out.h"
#include "plugin/abi/tessalune_plugin.h"
#include "plugin/silent_conversion.h"

using namespace tessalune;
using abi::copyOut;
using engine::ColourFlag;

// The interface's flags are its promise to hosts; the engine's are what the page reads.
static_assert(TESSALUNE_COLOUR_MESSAGE == static_cast<int>(ColourFlag::Message));
static_assert(TESSALUNE_COLOUR_NO_END == static_cast<int>(ColourFlag::NoEnd));
static_assert(TESSALUNE_COLOUR_KEEP_THINNED == static_cast<int>(ColourFlag::KeepThinned));
static_assert(TESSALUNE_COLOUR_BOLD == static_cast<int>(ColourFlag::Bold));
static_assert(TESSALUNE_COLOUR_ITALIC == static_cast<int>(ColourFlag::Italic));
static_assert(TESSALUNE_COLOUR_UNDERLINE == static_cast<int>(ColourFlag::Underline));
static_assert(TESSALUNE_COLOUR_STRIKE == static_cast<int>(ColourFlag::Strike));
static_assert(engine::kKnownColourFlags ==
              (TESSALUNE_COLOUR_MESSAGE | TESSALUNE_COLOUR_NO_END | TESSALUNE_COLOUR_KEEP_THINNED |
               TESSALUNE_COLOUR_BOLD | TESSALUNE_COLOUR_ITALIC | TESSALUNE_COLOUR_UNDERLINE |
               TESSALUNE_COLOUR_STRIKE));

namespace {

engine::WholeTextFormats formatsOf(int flags) {
  return {hasFlag(flags, ColourFlag::Bold), hasFlag(flags, ColourFlag::Italic),
          hasFlag(flags, ColourFlag::Underline), hasFlag(flags, ColourFlag::Strike)};
}

}  // namespace

int tessalune::abi::colourText(const char* text, const char* fg, const char* bg, int flags, int languageId,
                               char** result, char** error) {
  if (!result || !error) return TESSALUNE_FAILED;
  *result = *error = nullptr;
  try {
    if (!text || !fg) {
      *error = copyOut(!text ? "no text was given" : "no text style was given");
      return TESSALUNE_FAILED;
    }
    if (flags & ~engine::kKnownColourFlags) {
      *error = copyOut("unknown flags " + std::to_string(flags));
      return TESSALUNE_FAILED;
    }
    const engine::ParsedSideStyle foreground = engine::parseSideStyle(fg, false);
    const engine::ParsedSideStyle background = engine::parseSideStyle(bg ? bg : "none", true);
    if (!foreground.style || !background.style) {
      *error = copyOut(!foreground.style ? "fg: " + foreground.error : "bg: " + background.error);
      return TESSALUNE_FAILED;
    }
    lang::MessageVariables messages{lang::MessageCatalogue(languageId)};
    messages.loadMessages();
    plugin::SilentConversion conversion(
        messages,
        {hasFlag(flags, ColourFlag::Message) ? engine::EditorMode::Text : engine::EditorMode::Nickname,
         hasFlag(flags, ColourFlag::NoEnd), hasFlag(flags, ColourFlag::KeepThinned), false});
    const std::string coded = conversion.colour(text, *foreground.style, *background.style, formatsOf(flags));
    if (coded.empty()) {
      *error = copyOut(!conversion.message().empty()    ? conversion.message()
                       : !conversion.question().empty() ? "declined: " + conversion.question()
                                                        : std::string("the text was refused"));
      return 0;
    }
    *result = copyOut(coded);
    return 1;
  } catch (const std::exception& e) {
    std::free(*result);
    *result = nullptr;
    try {
      *error = copyOut(e.what());
    } catch (const std::bad_alloc&) {
    }
    return TESSALUNE_FAILED;
  }
}

extern "C" {

void tessalune_free(char* text) {
  std::free(text);
}

int tessalune_colour(const char* text, const char* fg, const char* bg, int flags, char** result,
                     char** error) {
  return abi::colourText(text, fg, bg, flags, platform::language::kEnglish, result, error);
}

}  // extern "C"
