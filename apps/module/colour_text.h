#pragma once

#include <string>

namespace tessalune::abi {

// What direct colouring came to: the Plus! text, a refusal, the question asked when the
// colours had to be thinned (and the caller did not say to keep them), or a wrong argument.
enum class ColourOutcome { Ok, Refused, Question, Invalid };

struct Colouring {
  ColourOutcome outcome;
  std::string text;       // the result in the target's codes, the refusal, the question, or what was wrong
  std::string plus = {};  // a result's Plus! text, fitted to the target's limit, that text was written from
};

// Colours text as tessalune_colour does, with its refusals and questions in the language of
// the message table languageId names (lang::kLanguages; English for any other), written in
// the codes of the target of that name (NULL: Plus! codes) fitted to its limit, or to limit
// when it is above 0. Throws only std::bad_alloc.
Colouring colourText(const char* text, const char* fg, const char* bg, int flags, int languageId,
                     const char* target = nullptr, int limit = 0);

// The outcome as the C interface's TESSALUNE_OUTCOME_ value.
int outcomeValue(ColourOutcome outcome);

// tessalune_colour_outcome in the language of a message table; plus, when given, receives a
// result's Plus! text (Colouring::plus), and NULL for every other outcome.
int colourWithOutcome(const char* text, const char* fg, const char* bg, int flags, int languageId,
                      char** result, char** question, char** error, const char* target = nullptr,
                      int limit = 0, char** plus = nullptr);

}  // namespace tessalune::abi
