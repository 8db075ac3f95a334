#pragma once

#include "platform/dialogs.h"
#include "ui/controls.h"

namespace tessalune::ui::gdi {

// The colour dialog on a swatch, starting from its back colour. On confirmation the swatch takes the chosen
// colour and the result is true; a cancel changes nothing and gives false.
bool pickSwatchColour(platform::Dialogs& dialogs, ColourSwatch& swatch);

}  // namespace tessalune::ui::gdi
