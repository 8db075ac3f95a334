#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "engine/colour.h"
#include "engine/limits.h"

namespace tessalune::purple {

// A contact's name as the client draws it in its own displays: the codes removed.
std::string plainName(std::string_view name);

// A name with Plus! codes as a GTK label's markup on the client's own background: only a
// background code paints one, and a text colour that would read below the desktop's rule
// (4.5:1) on what it is drawn on is moved towards black or white until it reads. Nothing
// for a plain name, or one longer than the nickname limit, which shows as plain text.
std::optional<std::string> renderNameLabel(std::string_view name, engine::ColourNumber background);

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(engine::ColourNumber a, engine::ColourNumber b);

// Names rendered once per contact and text: the client redraws a name on every presence
// change, which then costs a look-up.
class NameLabels {
 public:
  const std::optional<std::string>& label(const std::string& contact, std::string_view name,
                                          engine::ColourNumber background);

 private:
  struct Rendered {
    std::string name;
    engine::ColourNumber background;
    std::optional<std::string> label;
  };
  std::map<std::string, Rendered, std::less<>> labels_;
};

}  // namespace tessalune::purple
