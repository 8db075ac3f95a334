#pragma once

// The numbers a host shows or passes, written once: the length limits, the gradients' stop
// counts and reach, and the colour flags. The hosts, the C interface, the WebAssembly module
// (which exports the named tables below to the page) and the tests read them from here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "engine/editor_mode.h"

namespace tessalune::engine {

// The longest nickname and message, in characters: first the plain text, then its Plus! form.
inline constexpr int kNicknameLimit = 129;
inline constexpr int kTextLimit = 1100;

inline constexpr int lengthLimit(EditorMode mode) {
  return mode == EditorMode::Nickname ? kNicknameLimit : kTextLimit;
}

// How many colours a gradient goes through.
inline constexpr std::size_t kMinGradientStops = 2;
inline constexpr std::size_t kMaxGradientStops = 10;

// The end past which doGradient cannot paint: its positions are 16-bit.
inline constexpr int kMaxGradientEnd = std::numeric_limits<std::int16_t>::max();

// Direct colouring's options, one bit each, in the form the C interface and the page pass
// them (the C interface's TESSALUNE_COLOUR_ flags, which its implementation checks against
// these).
enum class ColourFlag : int {
  Message = 1,      // message mode instead of nickname mode
  NoEnd = 2,        // no end code after a nickname (the suffix option)
  KeepThinned = 4,  // keep a text whose colours had to be thinned to fit
  Bold = 8,         // the formats over the whole text
  Italic = 16,
  Underline = 32,
  Strike = 64,
};

// A value under the name a host outside C++ reads it by.
struct NamedValue {
  std::string_view name;
  int value;
};

// The limits a host shows: add a limit here and the page can read it.
inline constexpr std::array kNamedLimits = {
    NamedValue{"nickname", kNicknameLimit},
    NamedValue{"message", kTextLimit},
    NamedValue{"minStops", static_cast<int>(kMinGradientStops)},
    NamedValue{"maxStops", static_cast<int>(kMaxGradientStops)},
    NamedValue{"gradientEnd", kMaxGradientEnd},
};

// Every colour flag, under the option name the page gives it.
inline constexpr std::array kNamedColourFlags = {
    NamedValue{"message", static_cast<int>(ColourFlag::Message)},
    NamedValue{"noEnd", static_cast<int>(ColourFlag::NoEnd)},
    NamedValue{"keepThinned", static_cast<int>(ColourFlag::KeepThinned)},
    NamedValue{"bold", static_cast<int>(ColourFlag::Bold)},
    NamedValue{"italic", static_cast<int>(ColourFlag::Italic)},
    NamedValue{"underline", static_cast<int>(ColourFlag::Underline)},
    NamedValue{"strike", static_cast<int>(ColourFlag::Strike)},
};

// Every bit some colour flag uses.
inline constexpr int kKnownColourFlags = [] {
  int all = 0;
  for (const NamedValue& flag : kNamedColourFlags) all |= flag.value;
  return all;
}();

inline constexpr bool hasFlag(int flags, ColourFlag flag) {
  return (flags & static_cast<int>(flag)) != 0;
}

}  // namespace tessalune::engine
