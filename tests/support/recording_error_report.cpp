#include "support/recording_error_report.h"

namespace tessalune::testing {

void RecordingErrorReport::reportError(std::string_view kind, std::string_view source, std::int32_t number,
                                       std::string_view description, std::int16_t line,
                                       std::string_view column) {
  reports.push_back(
      {std::string(kind), std::string(source), number, std::string(description), line, std::string(column)});
}

}  // namespace tessalune::testing
