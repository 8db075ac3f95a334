#pragma once

#include <string>
#include <vector>

#include "errors/error_report.h"
#include "errors/routine_guard.h"

namespace tessalune::testing {

struct ReportedError {
  std::string kind;  // as reports name it: "unknown", "cfg", "xml"
  std::string source;
  std::int32_t number;
  std::string description;
  std::int16_t line;
  std::string column;
};

// Keeps every report so a test can say what was reported.
class RecordingErrorReport : public errors::ErrorReport {
 public:
  void reportError(errors::ErrorKind kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t line, std::string_view column) override;
  std::vector<ReportedError> reports;
};

// A failure context over a recording report, for tests.
struct TestFailures {
  RecordingErrorReport report;
  errors::StepMarker step;
  errors::FailureContext context{report, step};
};

}  // namespace tessalune::testing
