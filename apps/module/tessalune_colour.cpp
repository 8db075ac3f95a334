// Direct colouring through the C interface, with nothing else of the plug-in: the loadable
// module and the web build both carry this file.
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "colour_text.h"
#include "copy_out.h"
#include "engine/direct_colouring.h"
#include "engine/limits.h"
#include "engine/side_style.h"
#include "lang/message_catalogue.h"
#include "lang/message_variables.h"
#include "platform/ui_language.h"
#include "plugin/silent_conversion.h"
#include "targets/length_fit.h"
#include "targets/write_target.h"
#include "tessalune_plugin.h"

using namespace tessalune;
using abi::ColourOutcome;
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

// How tessalune_colour, before outcomes were told apart, reports a question: as a refusal
// whose text is this followed by the question. Hosts built against it keep getting it.
constexpr const char* kDeclinedQuestion = "declined: ";

// What failed, told when there is memory to tell it in.
char* copyOutIfItCan(const char* text) {
  try {
    return copyOut(text);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

engine::WholeTextFormats formatsOf(int flags) {
  return {hasFlag(flags, ColourFlag::Bold), hasFlag(flags, ColourFlag::Italic),
          hasFlag(flags, ColourFlag::Underline), hasFlag(flags, ColourFlag::Strike)};
}

}  // namespace

abi::Colouring abi::colourText(const char* text, const char* fg, const char* bg, int flags, int languageId,
                               const char* target, int limit) {
  try {
    if (!text || !fg)
      return {ColourOutcome::Invalid, !text ? "no text was given" : "no text style was given"};
    if (flags & ~engine::kKnownColourFlags) {
      return {ColourOutcome::Invalid, "unknown flags " + std::to_string(flags)};
    }
    const engine::ParsedSideStyle foreground = engine::parseSideStyle(fg, false);
    const engine::ParsedSideStyle background = engine::parseSideStyle(bg ? bg : "none", true);
    if (!foreground.style || !background.style) {
      return {ColourOutcome::Invalid,
              !foreground.style ? "fg: " + foreground.error : "bg: " + background.error};
    }
    const std::optional<targets::Target> as = target ? targets::targetNamed(target) : targets::Target::Plus;
    if (!as) return {ColourOutcome::Invalid, "unknown target '" + std::string(target) + "'"};
    if (limit < 0) return {ColourOutcome::Invalid, "the limit " + std::to_string(limit) + " is below 0"};
    const engine::EditorMode mode =
        hasFlag(flags, ColourFlag::Message) ? engine::EditorMode::Text : engine::EditorMode::Nickname;
    const std::optional<engine::LengthFit> fit = targets::lengthFit(*as, mode, limit);
    lang::MessageVariables messages{lang::MessageCatalogue(languageId)};
    messages.loadMessages();
    plugin::SilentConversion conversion(
        messages, {mode, hasFlag(flags, ColourFlag::NoEnd), hasFlag(flags, ColourFlag::KeepThinned), false,
                   fit ? &*fit : nullptr});
    std::string coded = conversion.colour(text, *foreground.style, *background.style, formatsOf(flags));
    if (!coded.empty()) return {ColourOutcome::Ok, targets::writeTarget(*as, coded), coded};
    if (!conversion.message().empty()) return {ColourOutcome::Refused, conversion.message()};
    if (!conversion.question().empty()) return {ColourOutcome::Question, conversion.question()};
    return {ColourOutcome::Refused, "the text was refused"};
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    return {ColourOutcome::Invalid, e.what()};
  }
}

int abi::outcomeValue(ColourOutcome outcome) {
  switch (outcome) {
    case ColourOutcome::Ok:
      return TESSALUNE_OUTCOME_OK;
    case ColourOutcome::Refused:
      return TESSALUNE_OUTCOME_REFUSED;
    case ColourOutcome::Question:
      return TESSALUNE_OUTCOME_QUESTION;
    case ColourOutcome::Invalid:
      break;
  }
  return TESSALUNE_OUTCOME_INVALID;
}

int abi::colourWithOutcome(const char* text, const char* fg, const char* bg, int flags, int languageId,
                           char** result, char** question, char** error, const char* target, int limit,
                           char** plus) {
  if (!result || !question || !error) return TESSALUNE_OUTCOME_INVALID;
  *result = *question = *error = nullptr;
  if (plus) *plus = nullptr;
  try {
    const Colouring colouring = colourText(text, fg, bg, flags, languageId, target, limit);
    char** out = colouring.outcome == ColourOutcome::Ok         ? result
                 : colouring.outcome == ColourOutcome::Question ? question
                                                                : error;
    // Both copies or neither: a failed second one releases the first.
    std::unique_ptr<char, decltype(&std::free)> plusCopy(nullptr, &std::free);
    if (plus && colouring.outcome == ColourOutcome::Ok) plusCopy.reset(copyOut(colouring.plus));
    *out = copyOut(colouring.text);
    if (plus) *plus = plusCopy.release();
    return outcomeValue(colouring.outcome);
  } catch (const std::bad_alloc& e) {
    *error = copyOutIfItCan(e.what());
    return TESSALUNE_OUTCOME_INVALID;
  }
}

extern "C" {

void tessalune_free(char* text) {
  std::free(text);
}

int tessalune_colour(const char* text, const char* fg, const char* bg, int flags, char** result,
                     char** error) {
  if (!result || !error) return TESSALUNE_FAILED;
  *result = *error = nullptr;
  try {
    const abi::Colouring colouring = abi::colourText(text, fg, bg, flags, platform::language::kEnglish);
    switch (colouring.outcome) {
      case ColourOutcome::Ok:
        *result = copyOut(colouring.text);
        return 1;
      case ColourOutcome::Refused:
        *error = copyOut(colouring.text);
        return 0;
      case ColourOutcome::Question:
        *error = copyOut(kDeclinedQuestion + colouring.text);
        return 0;
      case ColourOutcome::Invalid:
        break;
    }
    *error = copyOut(colouring.text);
    return TESSALUNE_FAILED;
  } catch (const std::bad_alloc& e) {
    *error = copyOutIfItCan(e.what());
    return TESSALUNE_FAILED;
  }
}

int tessalune_colour_outcome(const char* text, const char* fg, const char* bg, int flags, char** result,
                             char** question, char** error) {
  return abi::colourWithOutcome(text, fg, bg, flags, platform::language::kEnglish, result, question, error);
}

int tessalune_colour_as(const char* text, const char* fg, const char* bg, int flags, const char* target,
                        int limit, char** result, char** question, char** error) {
  return abi::colourWithOutcome(text, fg, bg, flags, platform::language::kEnglish, result, question, error,
                                target, limit);
}

}  // extern "C"
