#pragma once

namespace tessalune::abi {

// tessalune_colour with its refusals and questions in the language of a message table
// (1027, 1033, ...; English for any other).
int colourText(const char* text, const char* fg, const char* bg, int flags, int languageId, char** result,
               char** error);

}  // namespace tessalune::abi
