// Without libxml2 in WebAssembly, the strict reading is XML 1.0's character rules, which
// give libxml2's verdict on the documents the conversions make.
#include "platform/xml_strict.h"

namespace tessalune::platform {

std::optional<XmlParseError> strictProblem(std::string_view text) {
  return characterProblem(text);
}

}  // namespace tessalune::platform
