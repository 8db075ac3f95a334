#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessalune::errors {

inline constexpr std::string_view kFatalTitle = "Tessalune - FATAL ERROR";
inline constexpr std::string_view kAntiCrashTitle = "Tessalune - Anti-crash";

// The number the XML component gives for a document that does not exist.
inline constexpr std::int32_t kDocumentNotFound = static_cast<std::int32_t>(0x800C0006u);

// Catalogue texts write a line break as the two characters "\n"; a shown text uses CR LF.
std::string withLineBreaks(std::string_view catalogueText);

// text with every "%1" replaced by value.
std::string withValue(std::string_view text, std::string_view value);

}  // namespace tessalune::errors
