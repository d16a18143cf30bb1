// The repeat under every held button: its timing on the virtual clock and its stopping (also
// from inside a step, and by going away).
#include <gtest/gtest.h>

#include <memory>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel::test {
namespace {

using widgetpaint::TPressRepeat;

class PressRepeatTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetHeadlessApplication(); }
  void TearDown() override { ResetHeadlessApplication(); }
};

TEST_F(PressRepeatTest, StepsAfterTheDelayThenEveryIntervalUntilStopped) {
  TPressRepeat r;
  int steps = 0;
  r.Start([&] { ++steps; });
  EXPECT_EQ(Application->TimerCount(), 1);
  Application->AdvanceTime(399);
  EXPECT_EQ(steps, 0);  // the press's own step is the caller's
  Application->AdvanceTime(1);
  EXPECT_EQ(steps, 1);
  Application->AdvanceTime(49);
  EXPECT_EQ(steps, 1);
  Application->AdvanceTime(1);
  EXPECT_EQ(steps, 2);
  Application->AdvanceTime(1000);
  EXPECT_EQ(steps, 22);
  r.Stop();
  EXPECT_FALSE(r.Active());
  EXPECT_EQ(Application->TimerCount(), 0);
  Application->AdvanceTime(1000);
  EXPECT_EQ(steps, 22);
  // Started again, it waits the whole delay again.
  r.Start([&] { ++steps; });
  Application->AdvanceTime(399);
  EXPECT_EQ(steps, 22);
}

TEST_F(PressRepeatTest, AStepMayStopItOrDestroyItAndGoingAwayTakesTheTimer) {
  TPressRepeat r;
  int steps = 0;
  r.Start([&] {
    if (++steps == 3) r.Stop();
  });
  Application->AdvanceTime(2000);
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(Application->TimerCount(), 0);

  auto owned = std::make_unique<TPressRepeat>();
  owned->Start([&] { owned.reset(); });  // the owner goes away from inside the step
  Application->AdvanceTime(2000);
  EXPECT_FALSE(owned);
  EXPECT_EQ(Application->TimerCount(), 0);

  owned = std::make_unique<TPressRepeat>();
  owned->Start([&] { ++steps; });
  Application->AdvanceTime(450);
  EXPECT_EQ(steps, 5);
  owned.reset();
  EXPECT_EQ(Application->TimerCount(), 0);
}

}  // namespace
}  // namespace qel::test
