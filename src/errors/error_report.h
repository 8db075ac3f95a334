#pragma once

#include <cstdint>
#include <string_view>

namespace tessalune::errors {

// What failed: a routine at run time, the configuration file (missing or not well formed),
// or the XML component itself.
enum class ErrorKind { Unknown, Config, Xml };

// The kind as reports name it: "unknown", "cfg", "xml".
constexpr std::string_view errorKindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Unknown:
      break;
    case ErrorKind::Config:
      return "cfg";
    case ErrorKind::Xml:
      return "xml";
  }
  return "unknown";
}

// The one place failures go. Routines that trap their own failures call it with their
// own name as source and return their empty result afterwards; what the report shows
// and does (restart, recreate the configuration, halt) belongs to its implementation.
class ErrorReport {
 public:
  virtual ~ErrorReport() = default;

  // For Unknown, line is the step marker and column is empty; for Config,
  // number/description/line/column come from the parser.
  virtual void reportError(ErrorKind kind, std::string_view source, std::int32_t number,
                           std::string_view description, std::int16_t line, std::string_view column) = 0;
};

}  // namespace tessalune::errors
