#include "shared/retry.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Retry, ARefusedStepIsTriedAgainForAWhileOnly) {
  // Refused twice, then done: three tries, two waits.
  std::vector<StepOutcome> outcomes = {StepOutcome::refused, StepOutcome::refused,
                                       StepOutcome::done};
  int tries = 0, waits = 0;
  EXPECT_TRUE(retry_while_refused([&] { return outcomes[tries++]; }, [&] { ++waits; }, 40));
  EXPECT_EQ(tries, 3);
  EXPECT_EQ(waits, 2);

  // Refused every time: given up after the last try, no wait after it.
  tries = waits = 0;
  EXPECT_FALSE(retry_while_refused(
      [&] {
        ++tries;
        return StepOutcome::refused;
      },
      [&] { ++waits; }, replace_tries));
  EXPECT_EQ(tries, replace_tries);
  EXPECT_EQ(waits, replace_tries - 1);
  EXPECT_GE(replace_tries * replace_pause_ms, 1900u);  // about two seconds in all
  EXPECT_LE(replace_tries * replace_pause_ms, 2500u);

  // Any other failure is final at once.
  tries = waits = 0;
  EXPECT_FALSE(retry_while_refused(
      [&] {
        ++tries;
        return StepOutcome::failed;
      },
      [&] { ++waits; }, 40));
  EXPECT_EQ(tries, 1);
  EXPECT_EQ(waits, 0);
}
