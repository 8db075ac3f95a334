#include "errors/routine_guard.h"

#include <gtest/gtest.h>

#include "support/recording_error_report.h"

namespace tessalune::errors {
namespace {

TEST(GuardRoutine, ReportsTheFailureWithTheStepAndReturnsTheEmptyResult) {
  testing::TestFailures failures;
  const std::string result =
      guardRoutine(failures.context, "rtf2xml", std::string("empty"), [&]() -> std::string {
        failures.step.reset();
        for (int i = 0; i < 4; ++i) failures.step.advance();
        throw RuntimeFailure(13, "Type mismatch");
      });
  EXPECT_EQ(result, "empty");
  ASSERT_EQ(failures.report.reports.size(), 1u);
  const auto& r = failures.report.reports[0];
  EXPECT_EQ(r.kind, "unknown");
  EXPECT_EQ(r.source, "rtf2xml");
  EXPECT_EQ(r.number, 13);
  EXPECT_EQ(r.description, "Type mismatch");
  EXPECT_EQ(r.line, 4);
  EXPECT_EQ(r.column, "");
}

TEST(GuardRoutine, MapsLibraryFailuresToNumbers) {
  testing::TestFailures failures;
  guardProcedure(failures.context, "a", [] { throw std::bad_alloc(); });
  guardProcedure(failures.context, "b", [] { throw std::out_of_range("x"); });
  ASSERT_EQ(failures.report.reports.size(), 2u);
  EXPECT_EQ(failures.report.reports[0].number, 7);
  EXPECT_EQ(failures.report.reports[1].number, 9);
}

TEST(StepMarker, PassingItsSixteenBitLimitIsAFailure) {
  StepMarker step;
  for (int i = 0; i < 32767; ++i) step.advance();
  EXPECT_EQ(step.value(), 32767);
  EXPECT_THROW(step.advance(), RuntimeFailure);
}

}  // namespace
}  // namespace tessalune::errors
