// The month calendar's paging arrows held down page again after 400 ms and every 50 ms while the
// pointer stays on them; release, a lost capture, disabling, destroying or closing the picker's
// drop-down stop them.
#include <gtest/gtest.h>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePicker.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

// Months since January of year 0: paging moves this by one.
int MonthIndex(TDateTime Date) {
  int y, m, d;
  DecodeDate(Date, y, m, d);
  return y * 12 + m - 1;
}

class CalendarRepeat : public WidgetTest {
 protected:
  void Hold(TMonthCalendar* C, const TRect& Button) {
    Cal = C;
    Start = MonthIndex(C->GetDate());
    P = At(C, (Button.Left + Button.Right) / 2, (Button.Top + Button.Bottom) / 2);
    Input().MouseMove(P.X, P.Y);
    Input().MouseDown(P.X, P.Y);
  }
  TMonthCalendar* NewCalendar() {
    auto* c = new TMonthCalendar(Form);
    c->SetParent(Form);
    c->SetDate(EncodeDate(2024, 3, 31));
    ShowForm();
    Idle = Application->TimerCount();
    return c;
  }
  int Paged() const { return MonthIndex(Cal->GetDate()) - Start; }

  TMonthCalendar* Cal = nullptr;
  TPoint P;  // the held arrow
  int Start = 0;
  int Idle = 0;
};

TEST_F(CalendarRepeat, AHeldArrowPagesOnTheDelayAndIntervalAndStopsOnRelease) {
  TMonthCalendar* c = NewCalendar();
  Hold(c, c->NextButtonRect());
  EXPECT_EQ(c->GetDate(), EncodeDate(2024, 4, 30));  // one page, the day clamped
  Application->AdvanceTime(399);
  EXPECT_EQ(Paged(), 1);
  Application->AdvanceTime(1);
  EXPECT_EQ(Paged(), 2);
  Application->AdvanceTime(49);
  EXPECT_EQ(Paged(), 2);
  Application->AdvanceTime(1001);
  EXPECT_EQ(Paged(), 23);
  Input().MouseUp(P.X, P.Y);
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(Paged(), 23);

  // Backwards likewise; off the arrow (the other one included) the repeat pauses.
  Hold(c, c->PrevButtonRect());
  Application->AdvanceTime(400);
  EXPECT_EQ(Paged(), -2);
  TRect next = c->NextButtonRect();
  TPoint other = At(c, next.Left + 1, next.Top + 1);
  Input().MouseMove(other.X, other.Y);
  Application->AdvanceTime(500);
  EXPECT_EQ(Paged(), -2);
  Input().MouseMove(P.X, P.Y);
  Application->AdvanceTime(100);
  EXPECT_EQ(Paged(), -4);
  Input().MouseUp(P.X, P.Y);
  EXPECT_EQ(Application->TimerCount(), Idle);
}

TEST_F(CalendarRepeat, LosingTheCaptureDisablingOrDestroyingStopsTheTimer) {
  TMonthCalendar* c = NewCalendar();
  Hold(c, c->NextButtonRect());
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Form->SetCaptureControl(nullptr);
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(Paged(), 1);
  Input().MouseUp(P.X, P.Y);

  Hold(c, c->NextButtonRect());
  c->SetEnabled(false);
  EXPECT_EQ(Application->TimerCount(), Idle);
  c->SetEnabled(true);

  Hold(c, c->NextButtonRect());
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  delete c;
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
}

// The picker's drop-down calendar keeps the capture while open: the release ends the repeat
// there, and closing the drop-down ends it too.
TEST_F(CalendarRepeat, TheDropDownCalendarRepeatsUntilReleasedOrClosed) {
  auto* picker = new TDateTimePicker(Form);
  picker->SetParent(Form);
  picker->SetDateTime(EncodeDate(2024, 3, 5));
  ShowForm();
  picker->SetFocus();
  Idle = Application->TimerCount();
  picker->SetDroppedDown(true);
  TMonthCalendar* c = picker->Calendar();
  Hold(c, c->NextButtonRect());
  Application->AdvanceTime(500);
  EXPECT_EQ(Paged(), 4);
  Input().MouseUp(P.X, P.Y);
  EXPECT_TRUE(picker->GetDroppedDown());
  EXPECT_EQ(Application->TimerCount(), Idle);

  Hold(c, c->NextButtonRect());
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(picker->GetDroppedDown());
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(Paged(), 1);
}

}  // namespace
}  // namespace qel::test
