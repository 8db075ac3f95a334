#include "stderr_error_report.h"

#include <iostream>

namespace tessalune::cli {

void StderrErrorReport::reportError(std::string_view kind, std::string_view source, std::int32_t number,
                                    std::string_view description, std::int16_t line,
                                    std::string_view column) {
  failed_ = true;
  std::cerr << "Tessalune: " << kind << " error " << number << " in " << source << " at " << line;
  if (!column.empty()) std::cerr << ":" << column;
  std::cerr << ": " << description << "\n";
}

}  // namespace tessalune::cli
