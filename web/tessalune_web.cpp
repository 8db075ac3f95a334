// What the web page needs of the engine besides tessalune_colour: Plus! text rendered as
// `tessalune render --html` renders it, its length as the limits count it, Plus! text written
// in another target's codes, and the tables of limits, flags and targets themselves.
#include <array>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "colour_text.h"
#include "copy_out.h"
#include "engine/limits.h"
#include "engine/palette.h"
#include "engine/plus2rtf.h"
#include "engine/plus_to_styled_text.h"
#include "engine/rich_text_box.h"
#include "engine/utf8.h"
#include "lang/languages.h"
#include "lang/message_catalogue.h"
#include "lang/message_variables.h"
#include "plugin/silent_conversion.h"
#include "plugin/target_conversion.h"
#include "targets/html_render.h"
#include "targets/length_fit.h"
#include "targets/target_table.h"
#include "targets/write_target.h"
#include "tessalune_plugin.h"

using namespace tessalune;

namespace {

constexpr std::pair<const char*, int> kOutcomes[] = {{"ok", TESSALUNE_OUTCOME_OK},
                                                     {"refused", TESSALUNE_OUTCOME_REFUSED},
                                                     {"question", TESSALUNE_OUTCOME_QUESTION},
                                                     {"invalid", TESSALUNE_OUTCOME_INVALID}};

// The names are literals, so their views end in a NUL the page can read up to.
template <std::size_t N>
const char* nameAt(const std::array<engine::NamedValue, N>& table, int i) {
  return i >= 0 && i < static_cast<int>(N) ? table[static_cast<std::size_t>(i)].name.data() : "";
}
template <std::size_t N>
int valueAt(const std::array<engine::NamedValue, N>& table, int i) {
  return i >= 0 && i < static_cast<int>(N) ? table[static_cast<std::size_t>(i)].value : 0;
}

const targets::TargetInfo* targetAt(int i) {
  constexpr int count = static_cast<int>(std::size(targets::kTargets));
  return i >= 0 && i < count ? &targets::kTargets[i] : nullptr;
}

// Plus! text loaded into a box as the editor loads it and converted again, fitted to the
// target's limit (or limit, above 0), and written in the target's codes.
abi::Colouring convertPlus(const char* plus, int flags, int languageId, const char* target, int limit) {
  using abi::ColourOutcome;
  try {
    if (!plus) return {ColourOutcome::Invalid, "no text was given"};
    if (flags & ~(TESSALUNE_COLOUR_MESSAGE | TESSALUNE_COLOUR_NO_END | TESSALUNE_COLOUR_KEEP_THINNED)) {
      return {ColourOutcome::Invalid, "unknown flags " + std::to_string(flags)};
    }
    const std::optional<targets::Target> as = target ? targets::targetNamed(target) : targets::Target::Plus;
    if (!as) return {ColourOutcome::Invalid, "unknown target '" + std::string(target) + "'"};
    if (limit < 0) return {ColourOutcome::Invalid, "the limit " + std::to_string(limit) + " is below 0"};
    const engine::EditorMode mode =
        flags & TESSALUNE_COLOUR_MESSAGE ? engine::EditorMode::Text : engine::EditorMode::Nickname;
    lang::MessageVariables messages{lang::MessageCatalogue(languageId)};
    messages.loadMessages();
    const plugin::TargetConversion converted = plugin::convertPlusTo(
        *as, plus, messages,
        {mode, (flags & TESSALUNE_COLOUR_NO_END) != 0, (flags & TESSALUNE_COLOUR_KEEP_THINNED) != 0, limit});
    if (!converted.plus.empty()) return {ColourOutcome::Ok, converted.text, converted.plus};
    if (!converted.message.empty()) return {ColourOutcome::Refused, converted.message};
    if (!converted.question.empty()) return {ColourOutcome::Question, converted.question};
    return {ColourOutcome::Refused, "the text was refused"};
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    return {ColourOutcome::Invalid, e.what()};
  }
}

}  // namespace

extern "C" {

// tessalune_colour_as with its refusals and questions in the page's language; plus receives a
// result's Plus! text, fitted to the target's limit, that the target's codes were written from.
int tessalune_web_colour(const char* text, const char* fg, const char* bg, int flags, int languageId,
                         const char* target, int limit, char** result, char** question, char** error,
                         char** plus) {
  return abi::colourWithOutcome(text, fg, bg, flags, languageId, result, question, error, target, limit,
                                plus);
}

// Plus! text written in a target's codes, fitted to its limit, with the outcomes of
// tessalune_web_colour (fitted, its Plus! text in fitted); flags are the colour flags of a
// message, no end and keeping thinned colours.
int tessalune_web_convert(const char* plus, int flags, int languageId, const char* target, int limit,
                          char** result, char** question, char** error, char** fitted) {
  if (!result || !question || !error || !fitted) return TESSALUNE_OUTCOME_INVALID;
  *result = *question = *error = *fitted = nullptr;
  try {
    const abi::Colouring colouring = convertPlus(plus, flags, languageId, target, limit);
    char** out = colouring.outcome == abi::ColourOutcome::Ok         ? result
                 : colouring.outcome == abi::ColourOutcome::Question ? question
                                                                     : error;
    // Both copies or neither: a failed second one releases the first.
    std::unique_ptr<char, decltype(&std::free)> fittedCopy(nullptr, &std::free);
    if (colouring.outcome == abi::ColourOutcome::Ok) fittedCopy.reset(abi::copyOut(colouring.plus));
    *out = abi::copyOut(colouring.text);
    *fitted = fittedCopy.release();
    return abi::outcomeValue(colouring.outcome);
  } catch (const std::bad_alloc&) {
    return TESSALUNE_OUTCOME_INVALID;
  }
}

// The name of an outcome of tessalune_web_colour: "ok", "refused", "question" or "invalid".
const char* tessalune_web_outcome(int outcome) {
  for (const auto& [name, value] : kOutcomes) {
    if (value == outcome) return name;
  }
  return "";
}

// Entry i of the limits' or the colour flags' table: its name, "" past the last.
const char* tessalune_web_limit_name(int i) {
  return nameAt(engine::kNamedLimits, i);
}
int tessalune_web_limit(int i) {
  return valueAt(engine::kNamedLimits, i);
}
const char* tessalune_web_flag_name(int i) {
  return nameAt(engine::kNamedColourFlags, i);
}
int tessalune_web_flag(int i) {
  return valueAt(engine::kNamedColourFlags, i);
}

// Target i of the table of targets: its name ("" past the last), its unit ("characters" or
// "bytes"), its limits for a nickname and a message (0: none) and whether it has backgrounds.
const char* tessalune_web_target_name(int i) {
  return targetAt(i) ? targetAt(i)->name.data() : "";
}
const char* tessalune_web_target_unit(int i) {
  if (!targetAt(i)) return "";
  return targetAt(i)->unit == targets::Unit::Utf8Bytes ? "bytes" : "characters";
}
int tessalune_web_target_nickname_limit(int i) {
  return targetAt(i) ? targetAt(i)->nicknameLimit : 0;
}
int tessalune_web_target_message_limit(int i) {
  return targetAt(i) ? targetAt(i)->messageLimit : 0;
}
int tessalune_web_target_backgrounds(int i) {
  return targetAt(i) && targetAt(i)->backgrounds ? 1 : 0;
}

// The HTML fragment of the Plus! text, as a string to release with tessalune_free; NULL
// when it cannot be made (memory).
char* tessalune_web_render_html(const char* plus) {
  try {
    return abi::copyOut(targets::renderPlusHtml(plus ? plus : ""));
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

// Language i (0 to 5) of the plug-in's list: its code, language file, own name and message
// table; "" and 0 past the last. The page offers them in this order.
namespace {
const lang::Language* webLanguage(int i) {
  return lang::languageAt(i);
}
}  // namespace
const char* tessalune_web_language_code(int i) {
  return webLanguage(i) ? webLanguage(i)->code.data() : "";
}
const char* tessalune_web_language_file(int i) {
  return webLanguage(i) ? webLanguage(i)->fileName.data() : "";
}
const char* tessalune_web_language_name(int i) {
  return webLanguage(i) ? webLanguage(i)->nativeName.data() : "";
}
int tessalune_web_language_catalogue(int i) {
  return webLanguage(i) ? webLanguage(i)->catalogueId : 0;
}
// The message table of a language that names none of the six.
int tessalune_web_fallback_language() {
  return lang::LanguageId::fallback().catalogueId();
}

// The length of the Plus! text in characters, which the nickname's and the message's
// limits are counted in.
std::size_t tessalune_web_length(const char* plus) {
  return plus ? engine::countChars(plus) : 0;
}

}  // extern "C"
