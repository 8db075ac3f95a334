#include "ui/gdi/swatch_colour.h"

namespace tessalune::ui::gdi {

bool pickSwatchColour(platform::Dialogs& dialogs, ColourSwatch& swatch) {
  const std::optional<std::uint32_t> chosen = dialogs.chooseColour(swatch.backColour());
  if (!chosen) return false;
  swatch.setBackColour(*chosen);
  return true;
}

}  // namespace tessalune::ui::gdi
