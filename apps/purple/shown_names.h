#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tessalune::purple {

// A name with Plus! codes as a GTK label's markup, in colour on light paper. Nothing for a
// plain name, or one longer than the nickname limit, which shows as plain text.
std::optional<std::string> renderNameLabel(std::string_view name);

// Names rendered once per contact and text: the client redraws a name on every presence
// change, which then costs a look-up.
class NameLabels {
 public:
  const std::optional<std::string>& label(const std::string& contact, std::string_view name);

 private:
  struct Rendered {
    std::string name;
    std::optional<std::string> label;
  };
  std::map<std::string, Rendered, std::less<>> labels_;
};

}  // namespace tessalune::purple
