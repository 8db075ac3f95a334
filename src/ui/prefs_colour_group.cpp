#include "ui/prefs_colour_group.h"

namespace tessalune::ui {

namespace {

// Element k of a control array: "name(k)".
std::string element(std::string_view name, int k) {
  return std::string(name) + "(" + std::to_string(k) + ")";
}

// A swatch button's colour area: "<button>_rect".
std::string area(std::string_view button) {
  return std::string(button) + "_rect";
}

}  // namespace

PrefsColourGroup::PrefsColourGroup(const ColourGroupNames& names, const ColourGroupSettings& settings)
    : names_(names),
      settings_(settings),
      solid(std::string(names.solid), type_),
      gradient{OptionButton{element(names.gradient, 0), type_},
               OptionButton{element(names.gradient, 1), preset_},
               OptionButton{element(names.gradient, 2), preset_},
               OptionButton{element(names.gradient, 3), preset_},
               OptionButton{element(names.gradient, 4), preset_}},
      container(std::string(names.container)),
      previews{Control{element(names.previews, 1), ControlKind::GradientPreview},
               Control{element(names.previews, 2), ControlKind::GradientPreview},
               Control{element(names.previews, 3), ControlKind::GradientPreview},
               Control{element(names.previews, 4), ControlKind::GradientPreview}},
      solidButton(std::string(names.solidButton)),
      gradient1Button(std::string(names.gradient1Button)),
      gradient2Button(std::string(names.gradient2Button)),
      solidColour(area(names.solidButton)),
      gradient1(area(names.gradient1Button)),
      gradient2(area(names.gradient2Button)) {
  if (!names.none.empty()) none.emplace(std::string(names.none), type_);
}

}  // namespace tessalune::ui
