#pragma once

#include "engine/colour.h"

namespace tessalune::engine {

// A saved style: how a nickname or a message is coloured when its command comes with an
// argument. Gradient types 1 to 4 are the presets "grad1" to "grad4"; 0 means no
// gradient option is selected.
struct StylePreset {
  bool enabled = false;
  int FGtype = 1;  // 1 solid, 2 gradient
  int FGgradtype = 1;
  ColourNumber FGcolor = 0;
  ColourNumber FGgrad1 = 0;
  ColourNumber FGgrad2 = 0;
  int BGtype = 0;  // 0 none, 1 solid, 2 gradient
  int BGgradtype = 1;
  ColourNumber BGcolor = 0xFFFFFF;
  ColourNumber BGgrad1 = 0xFFFFFF;
  ColourNumber BGgrad2 = 0xFFFFFF;

  bool operator==(const StylePreset&) const = default;
};

}  // namespace tessalune::engine
