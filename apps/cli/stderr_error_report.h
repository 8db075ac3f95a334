#pragma once

#include "errors/error_report.h"

namespace tessalune::cli {

// Until the plug-in's own report is wired in, the engine tools print failures on
// standard error, one line each.
class StderrErrorReport : public errors::ErrorReport {
 public:
  void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t line, std::string_view column) override;
  bool failed() const { return failed_; }

 private:
  bool failed_ = false;
};

}  // namespace tessalune::cli
