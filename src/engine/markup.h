#pragma once

#include <string_view>

#include "engine/replace.h"

namespace tessalune::engine::markup {

// The styled-text markup: a flat stream of text and empty marker elements under the
// root "nick". Colour markers are exactly 21 characters long with their "#RRGGBB"
// value, which the conversion to Plus! codes relies on.
inline constexpr std::string_view kRootOpen = "<nick>";
inline constexpr std::string_view kRootClose = "</nick>";
inline constexpr std::string_view kFgOpen = "<FG color=\"";
inline constexpr std::string_view kBgOpen = "<BG color=\"";
inline constexpr std::string_view kMarkerClose = "\"/>";
inline constexpr std::size_t kColourMarkerLength = 21;
inline constexpr std::string_view kBold = "<b/>";
inline constexpr std::string_view kItalic = "<i/>";
inline constexpr std::string_view kUnderline = "<u/>";
inline constexpr std::string_view kStrike = "<s/>";
inline constexpr std::string_view kReset = "<r/>";
inline constexpr std::string_view kSpace = "<space/>";
inline constexpr std::string_view kEnd = "<end/>";
inline constexpr std::string_view kLine = "<line/>";
inline constexpr std::string_view kDefaultText = "<FG color=\"#000000\"/>";
inline constexpr std::string_view kDefaultBackground = "<BG color=\"#FFFFFF\"/>";

}  // namespace tessalune::engine::markup

namespace tessalune::engine::plus {

// Plus! codes: the middle dot U+00B7 followed by one code character.
inline constexpr std::string_view kDot = "\u00B7";
inline constexpr char32_t kDotChar = U'\u00B7';
inline constexpr std::string_view kBold = "\u00B7#";
inline constexpr std::string_view kItalic = "\u00B7&";
inline constexpr std::string_view kUnderline = "\u00B7@";
inline constexpr std::string_view kStrike = "\u00B7'";
inline constexpr std::string_view kReset = "\u00B70";
inline constexpr std::string_view kColour = "\u00B7$";
inline constexpr std::string_view kBackgroundOnly = "\u00B7$,";

}  // namespace tessalune::engine::plus

namespace tessalune::engine::markup {

// The markers that become a code (or a space) of their own, in the order they are
// replaced. Each starts with its only "<" and no code contains one.
inline constexpr Replacement kSimpleMarkerCodes[] = {
    {kBold, plus::kBold},     {kItalic, plus::kItalic}, {kUnderline, plus::kUnderline},
    {kStrike, plus::kStrike}, {kReset, plus::kReset},   {kSpace, " "},
    {kEnd, plus::kReset}};

}  // namespace tessalune::engine::markup
