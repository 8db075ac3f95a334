#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessalune::errors {

// A run-time failure as the routines report it: a number and a description, in the
// style of the error numbers users quote in support requests (6 overflow, 9 subscript
// out of range, 13 type mismatch, ...).
class RuntimeFailure : public std::runtime_error {
 public:
  RuntimeFailure(std::int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  std::int32_t number() const { return number_; }

 private:
  std::int32_t number_;
};

namespace failure {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kObjectNotSet = 91;
}  // namespace failure

// The default configuration could not be written where a missing one was found. During
// start-up this is the start-up's failure, not the routine's that met the missing file.
class DefaultConfigurationFailure : public RuntimeFailure {
 public:
  explicit DefaultConfigurationFailure(const std::string& description)
      : RuntimeFailure(failure::kPathFileAccess, description) {}
};

[[noreturn]] inline void raiseOverflow() {
  throw RuntimeFailure(failure::kOverflow, "Overflow");
}

}  // namespace tessalune::errors
