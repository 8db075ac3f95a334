#pragma once

#include <cstddef>

#include "platform/xml_document.h"

namespace tessalune::engine {

// The length in characters of the Plus! text a markup document converts to.
std::size_t plusLength(const platform::XmlDocument& doc);

// The same length kept up to date while the length reduction removes colour markers, so
// that a pass costs no conversion. A marker's code is its own ("·$" and its colour, "·$,"
// for a background), but a text colour directly followed by a background shares one
// opening with it ("·$#RRGGBB,#RRGGBB"): a removal is settled with the neighbours.
class PlusLength {
 public:
  explicit PlusLength(const platform::XmlDocument& doc) : total_(plusLength(doc)) {}

  std::size_t value() const { return total_; }
  // Counts the removal of a child marker of the root; call it before removing the marker.
  void removing(const platform::XmlNode& marker);

 private:
  std::size_t total_;
};

}  // namespace tessalune::engine
