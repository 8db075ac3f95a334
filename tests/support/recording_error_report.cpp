#include "support/recording_error_report.h"

namespace tessalune::testing {

void RecordingErrorReport::reportError(errors::ErrorKind kind, std::string_view source, std::int32_t number,
                                       std::string_view description, std::int16_t line,
                                       std::string_view column) {
  reports.push_back({std::string(errors::errorKindName(kind)), std::string(source), number,
                     std::string(description), line, std::string(column)});
}

}  // namespace tessalune::testing
