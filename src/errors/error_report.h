#pragma once

#include <cstdint>
#include <string_view>

namespace tessalune::errors {

// The one place failures go. Routines that trap their own failures call it with their
// own name as source and return their empty result afterwards; what the report shows
// and does (restart, recreate the configuration, halt) belongs to its implementation.
class ErrorReport {
 public:
  virtual ~ErrorReport() = default;

  // kind is "unknown", "cfg" or "xml". For "unknown", line is the step marker and
  // column is empty; for "cfg", number/description/line/column come from the parser.
  virtual void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                           std::string_view description, std::int16_t line, std::string_view column) = 0;
};

}  // namespace tessalune::errors
