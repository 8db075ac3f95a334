#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tessalune::engine {

// The sixteen colours that Plus! codes may name by index ("·$4" is red). A colour
// that equals one of them exactly is written as its index.
inline constexpr std::array<std::string_view, 16> kPalette = {
    "#FFFFFF", "#000000", "#000080", "#008000", "#FF0000", "#800000", "#800080", "#FF8000",
    "#FFFF00", "#00FF00", "#008080", "#00FFFF", "#0000FF", "#FF00FF", "#808080", "#C0C0C0"};

// The editor's sixteen solid-colour swatches, row by row in four rows of four.
inline constexpr std::array<std::string_view, 16> kEditorSwatches = {
    "#FFFFFF", "#000000", "#C0C0C0", "#808080", "#FF0000", "#800000", "#FFFF00", "#808000",
    "#00FF00", "#008000", "#00FFFF", "#008080", "#0000FF", "#000080", "#FF00FF", "#800080"};

// The indices as the codes write them.
inline constexpr std::array<std::string_view, 16> kPaletteIndexTexts = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};

// The index of colourText in the palette (exact, case-sensitive text comparison).
std::optional<int> paletteIndexOf(std::string_view colourText);

}  // namespace tessalune::engine
