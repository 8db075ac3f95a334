#pragma once

#include <cstdint>

#include "errors/failure.h"

namespace tessalune::errors {

// Where a routine was when it failed. Every routine resets it on entry and advances it
// before each step; routines share one marker, so a report names the step of the
// innermost routine that last reset it. It is 16 bits wide: passing 32767 is itself a
// failure, as a long-running loop that advances it would otherwise wrap silently.
class StepMarker {
 public:
  void reset() { value_ = 0; }
  void advance() {
    if (value_ == INT16_MAX) raiseOverflow();
    ++value_;
  }
  std::int16_t value() const { return value_; }

 private:
  std::int16_t value_ = 0;
};

}  // namespace tessalune::errors
