#pragma once

#include <exception>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "errors/error_report.h"
#include "errors/failure.h"
#include "errors/step_marker.h"

namespace tessalune::errors {

// What a routine that traps its own failures needs: where to report and the shared
// step marker.
struct FailureContext {
  ErrorReport& report;
  StepMarker& step;
};

// Reports an exception caught at a routine's boundary as an unknown failure.
void reportUnknownFailure(FailureContext& ctx, std::string_view source, const std::exception_ptr& failure);

// Runs body as the routine named source: no exception leaves it. A failure is reported
// with the routine's name and the step marker, and the routine returns emptyResult.
template <typename Result, typename Body>
Result guardRoutine(FailureContext& ctx, std::string_view source, Result emptyResult, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    reportUnknownFailure(ctx, source, std::current_exception());
    return emptyResult;
  }
}

// The same for routines without a result.
template <typename Body>
void guardProcedure(FailureContext& ctx, std::string_view source, Body&& body) {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    reportUnknownFailure(ctx, source, std::current_exception());
  }
}

}  // namespace tessalune::errors
