#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/setting_elements.h"
#include "ui/controls.h"

namespace tessalune::ui {

// The four colour groups of the preferences, each with its type options, its gradient
// group of four presets and previews, and its three swatches.
enum class ColourGroup { NickFG, NickBG, TextFG, TextBG };
inline constexpr std::array<ColourGroup, 4> kColourGroups = {ColourGroup::NickFG, ColourGroup::NickBG,
                                                             ColourGroup::TextFG, ColourGroup::TextBG};

// The settings a colour group shows: its type, its gradient preset and its three colours.
struct ColourGroupSettings {
  store::Setting type, gradient, colour, gradient1, gradient2;
};

// The names of a colour group's controls, as the window has them.
struct ColourGroupNames {
  std::string_view none;       // the background groups' "none" option; "" for the characters'
  std::string_view solid;      // the type options "solid" and "gradient" (element 0 of the array,
  std::string_view gradient;   // whose elements 1 to 4 are the presets)
  std::string_view container;  // the presets' container
  std::string_view previews;   // the presets' previews, elements 1 to 4
  std::string_view solidButton, gradient1Button, gradient2Button;  // each holds its colour area "<name>_rect"
};

// One colour group of the preferences: its type options (an option group of their own),
// the four gradient presets (another) with their previews in a container, and the swatch
// buttons of the solid colour and the two gradient colours, each holding its colour area.
class PrefsColourGroup {
 public:
  PrefsColourGroup(const ColourGroupNames& names, const ColourGroupSettings& settings);
  PrefsColourGroup(const PrefsColourGroup&) = delete;
  PrefsColourGroup& operator=(const PrefsColourGroup&) = delete;

  const ColourGroupNames& names() const { return names_; }
  const ColourGroupSettings& settings() const { return settings_; }
  bool background() const { return none.has_value(); }
  // The swatch buttons with their colour areas: solid, gradient 1, gradient 2.
  std::array<std::pair<OwnerDrawnButton*, ColourSwatch*>, 3> swatches() {
    return {{{&solidButton, &solidColour}, {&gradient1Button, &gradient1}, {&gradient2Button, &gradient2}}};
  }

 private:
  ColourGroupNames names_;
  ColourGroupSettings settings_;
  OptionGroup type_, preset_;

 public:
  std::optional<OptionButton> none;
  OptionButton solid;
  std::array<OptionButton, 5> gradient;
  Frame container;
  std::array<Control, 4> previews;
  OwnerDrawnButton solidButton, gradient1Button, gradient2Button;
  ColourSwatch solidColour, gradient1, gradient2;
};

}  // namespace tessalune::ui
