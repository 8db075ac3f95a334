#pragma once

#include "errors/error_report.h"

namespace tessalune::errors {

// Passes every report on and counts the run-time failures among them, so that a tool can
// turn them into its exit status. A recreated configuration ("cfg" for a missing file) is
// not a failure; a halt is noticed by the tool itself.
class CountingReport : public ErrorReport {
 public:
  explicit CountingReport(ErrorReport& inner) : inner_(inner) {}
  void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t line, std::string_view column) override {
    if (kind == "unknown") ++failures_;
    inner_.reportError(kind, source, number, description, line, column);
  }
  int failures() const { return failures_; }

 private:
  ErrorReport& inner_;
  int failures_ = 0;
};

}  // namespace tessalune::errors
