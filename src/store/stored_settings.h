#pragma once

#include <cstdint>
#include <optional>

namespace tessalune::store {

// One style preset as the configuration file holds it (the nickname's or the text's).
// An element the file lacks is empty: whoever applies the settings leaves that one alone.
struct StoredPreset {
  std::optional<bool> enabled;
  std::optional<int> fgType;      // 1 solid, 2 gradient
  std::optional<int> bgType;      // 0 none, 1 solid, 2 gradient
  std::optional<int> fgGradient;  // the gradient preset, 1 to 4
  std::optional<int> bgGradient;
  std::optional<std::uint32_t> fgColor, fgGrad1, fgGrad2;
  std::optional<std::uint32_t> bgColor, bgGrad1, bgGrad2;
};

// The settings a load found, already brought to the values the windows can show: an
// unknown type is solid (text) or none (background), an unknown preset is the first, an
// unknown language is English.
struct StoredSettings {
  std::optional<bool> suffix;     // no end code
  std::optional<bool> all;        // style the whole text
  std::optional<bool> update;     // check for updates at start-up
  std::optional<int> language;    // the language list's index
  std::optional<bool> replaceQN;  // the save command replaces an entry with the same shortcut
  StoredPreset nick;
  StoredPreset text;
};

}  // namespace tessalune::store
