#include "errors/routine_guard.h"

#include <string>

namespace tessalune::errors {

namespace {

struct NumberedFailure {
  std::int32_t number;
  std::string description;
};

NumberedFailure describe(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const RuntimeFailure& f) {
    return {f.number(), f.what()};
  } catch (const std::bad_alloc&) {
    return {failure::kOutOfMemory, "Out of memory"};
  } catch (const std::out_of_range& f) {
    return {failure::kSubscriptOutOfRange, std::string("Subscript out of range: ") + f.what()};
  } catch (const std::overflow_error&) {
    return {failure::kOverflow, "Overflow"};
  } catch (const std::exception& f) {
    return {failure::kInvalidCall, f.what()};
  } catch (...) {
    return {failure::kInvalidCall, "Invalid procedure call or argument"};
  }
}

}  // namespace

void reportUnknownFailure(FailureContext& ctx, std::string_view source, const std::exception_ptr& failure) {
  const NumberedFailure f = describe(failure);
  ctx.report.reportError(ErrorKind::Unknown, source, f.number, f.description, ctx.step.value(), "");
}

}  // namespace tessalune::errors
