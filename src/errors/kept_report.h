#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "errors/error_report.h"

namespace tessalune::errors {

// A report that shows nothing of its own: it keeps every report, in order, for its owner
// to tell in its own way (a tool's exit status and error line, a preview's notice), and
// passes each on to another report when it wraps one.
class KeptReport : public ErrorReport {
 public:
  struct Entry {
    ErrorKind kind;
    std::string source;
    std::int32_t number;
    std::string description;
    std::int16_t line;
    std::string column;
  };

  KeptReport() = default;
  explicit KeptReport(ErrorReport& inner) : inner_(&inner) {}

  void reportError(ErrorKind kind, std::string_view source, std::int32_t number, std::string_view description,
                   std::int16_t line, std::string_view column) override {
    entries_.push_back(
        {kind, std::string(source), number, std::string(description), line, std::string(column)});
    if (inner_) inner_->reportError(kind, source, number, description, line, column);
  }

  const std::vector<Entry>& entries() const { return entries_; }
  // The run-time failures among them. A recreated configuration (a missing file) is not
  // one, and a halt is for the owner to notice.
  int failures() const {
    int count = 0;
    for (const Entry& entry : entries_) count += entry.kind == ErrorKind::Unknown ? 1 : 0;
    return count;
  }
  void clear() { entries_.clear(); }

 private:
  ErrorReport* inner_ = nullptr;
  std::vector<Entry> entries_;
};

}  // namespace tessalune::errors
