// The month calendar on its own (page model, keys, mouse, wheel, limits) and as the picker's
// drop-down (opening and closing by keys and clicks), the registered properties, and the
// reviewed pictures of both controls.
#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Messages.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

TDateTime D(int Y, int M, int Day) { return EncodeDate(Y, M, Day); }

class CalendarTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Cal = new TMonthCalendar(Form);
    Cal->SetParent(Form);
    Cal->SetLeft(10);
    Cal->SetTop(10);
    Cal->SetDate(D(2024, 3, 5));  // a Tuesday; March 2024 starts on a Friday
    Cal->SetToday(D(2024, 3, 20));
    Cal->OnChange = [this](TObject*) { ++Changes; };
  }
  TPoint CellPoint(int Row, int Col) {
    TRect r = Cal->DayCellRect(Row, Col);
    return At(Cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void ClickAt(TPoint P) { Input().Click(P.X, P.Y); }
  TMonthCalendar* Cal = nullptr;
  int Changes = 0;
};

TEST_F(CalendarTest, ThePageStartsOnTheFirstDayOfWeekWithNeighbourDaysAtBothEnds) {
  EXPECT_EQ(Cal->FirstShownDay(), D(2024, 2, 26));
  EXPECT_EQ(Cal->DayOfCell(1, 1), D(2024, 3, 5));
  EXPECT_EQ(Cal->DayOfCell(5, 6), D(2024, 4, 7));
  Cal->SetFirstDayOfWeek(dowSunday);
  EXPECT_EQ(Cal->FirstShownDay(), D(2024, 2, 25));
  Cal->SetFirstDayOfWeek(dowLocaleDefault);  // Monday, as ISO weeks
  EXPECT_EQ(Cal->FirstShownDay(), D(2024, 2, 26));
  // April 2024 starts on a Monday: a whole week of March comes first.
  Cal->SetDate(D(2024, 4, 10));
  EXPECT_EQ(Cal->FirstShownDay(), D(2024, 3, 25));
  EXPECT_TRUE(Cal->WeekNumberRect(0).IsEmpty());
  Cal->SetWeekNumbers(true);
  EXPECT_FALSE(Cal->WeekNumberRect(0).IsEmpty());
  EXPECT_EQ(Cal->WeekNumberRect(0).Right, Cal->DayCellRect(0, 0).Left);
  Cal->SetShowToday(false);
  EXPECT_TRUE(Cal->TodayRect().IsEmpty());
  EXPECT_EQ(Changes, 0);
}

TEST_F(CalendarTest, WeekNumbersFollowIsoWeeksWhateverDayStartsTheRow) {
  Cal->SetDate(D(2021, 1, 14));  // 1 January 2021 is a Friday of ISO week 53 of 2020
  EXPECT_EQ(Cal->FirstShownDay(), D(2020, 12, 28));
  EXPECT_EQ(Cal->WeekNumberOfRow(0), 53);
  EXPECT_EQ(Cal->WeekNumberOfRow(1), 1);
  EXPECT_EQ(Cal->WeekNumberOfRow(5), 5);
  Cal->SetFirstDayOfWeek(dowSunday);  // rows run Sunday to Saturday: Monday's week counts
  EXPECT_EQ(Cal->FirstShownDay(), D(2020, 12, 27));
  EXPECT_EQ(Cal->WeekNumberOfRow(0), 53);
  EXPECT_EQ(Cal->WeekNumberOfRow(1), 1);
  Cal->SetFirstDayOfWeek(dowThursday);  // Thursday to Wednesday: the Sunday in the middle
  EXPECT_EQ(Cal->FirstShownDay(), D(2020, 12, 31));
  EXPECT_EQ(Cal->WeekNumberOfRow(0), 53);  // Sunday 3 January still belongs to 2020's last
  EXPECT_EQ(Cal->WeekNumberOfRow(1), 1);
  Cal->SetDate(D(1, 1, 5));  // the page reaches before the first day there is
  EXPECT_EQ(Cal->WeekNumberOfRow(0), 0);
}

TEST_F(CalendarTest, KeysMoveByDayWeekMonthYearAndToTheMonthsEnds) {
  ShowForm();
  Cal->SetFocus();
  auto key = [&](uint16_t K, TShiftState S = {}) { Input().PressKey(K, S); };
  key(VK_LEFT);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 4));
  key(VK_RIGHT);
  key(VK_UP);
  EXPECT_EQ(Cal->GetDate(), D(2024, 2, 27));
  key(VK_DOWN);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 5));
  key(VK_NEXT);
  EXPECT_EQ(Cal->GetDate(), D(2024, 4, 5));
  key(VK_PRIOR);
  key(VK_NEXT, {ssCtrl});
  EXPECT_EQ(Cal->GetDate(), D(2025, 3, 5));
  key(VK_PRIOR, {ssCtrl});
  key(VK_END);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 31));
  key(VK_NEXT);  // 31 April does not exist
  EXPECT_EQ(Cal->GetDate(), D(2024, 4, 30));
  key(VK_HOME);
  EXPECT_EQ(Cal->GetDate(), D(2024, 4, 1));
  key(VK_HOME);  // no change, no event
  EXPECT_EQ(Changes, 11);
}

TEST_F(CalendarTest, ClicksSelectDaysSwitchMonthsPageAndGoToToday) {
  ShowForm();
  ClickAt(CellPoint(2, 3));
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 14));
  ClickAt(CellPoint(0, 0));  // a day of February: the page switches
  EXPECT_EQ(Cal->GetDate(), D(2024, 2, 26));
  EXPECT_EQ(Cal->FirstShownDay(), D(2024, 1, 29));
  TRect next = Cal->NextButtonRect(), prev = Cal->PrevButtonRect();
  ClickAt(At(Cal, next.Left + 2, next.Top + 2));
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 26));
  ClickAt(At(Cal, prev.Left + 2, prev.Top + 2));
  ClickAt(At(Cal, prev.Left + 2, prev.Top + 2));
  EXPECT_EQ(Cal->GetDate(), D(2024, 1, 26));
  TPoint c = CellPoint(3, 3);
  Input().WheelAt(c.X, c.Y, -WHEEL_DELTA);  // towards the user: the next month
  EXPECT_EQ(Cal->GetDate(), D(2024, 2, 26));
  Input().WheelAt(c.X, c.Y, WHEEL_DELTA);
  EXPECT_EQ(Cal->GetDate(), D(2024, 1, 26));
  TRect t = Cal->TodayRect();
  ClickAt(At(Cal, t.Left + 20, t.Top + 3));
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 20));
  EXPECT_EQ(Changes, 8);
  EXPECT_TRUE(Cal->Focused());
}

TEST_F(CalendarTest, LimitsClampNavigationAndBlockDaysOutsideThem) {
  Cal->SetMinDate(D(2024, 3, 3));
  Cal->SetMaxDate(D(2024, 3, 20));
  ShowForm();
  ClickAt(CellPoint(4, 0));  // 25 March, beyond the maximum
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 5));
  Cal->SetFocus();
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 20));
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 3));
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 3));
  EXPECT_EQ(Changes, 2);
  Cal->SetDate(D(2030, 1, 1));
  EXPECT_EQ(Cal->GetDate(), D(2024, 3, 20));
  EXPECT_THROW(Cal->SetMinDate(D(2024, 4, 1)), EDateTimeError);
  EXPECT_THROW(Cal->SetMaxDate(D(2024, 3, 1)), EDateTimeError);
  Cal->SetMinDate(0);
  Cal->SetMaxDate(0);
  Cal->SetDate(D(1, 1, 1));
  Cal->StepMonths(-1);  // nothing before the first day of year 1
  EXPECT_EQ(Cal->GetDate(), D(1, 1, 1));
  Cal->StepDays(-1);
  EXPECT_EQ(Cal->GetDate(), D(1, 1, 1));
}

// ---------------------------------------------------------------- the drop-down

class DropDownTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Picker = new TDateTimePicker(Form);
    Picker->SetParent(Form);
    Picker->SetBounds(10, 10, 150, 21);
    Picker->SetDateTime(EncodeDateTime(2024, 3, 5, 8, 30, 0, 0));
    Picker->Calendar()->SetToday(D(2024, 3, 20));
    Picker->OnChange = [this](TObject*) { ++Changes; };
    Picker->OnDropDown = [this](TObject*) { ++Drops; };
    Picker->OnCloseUp = [this](TObject*) { ++CloseUps; };
    ShowForm();
    Picker->SetFocus();
  }
  TPoint ButtonCentre() {
    TRect b = Picker->ButtonRect();
    return At(Picker, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  }
  void ExpectClosed() {
    EXPECT_FALSE(Picker->GetDroppedDown());
    EXPECT_EQ(Picker->Calendar()->GetParent(), nullptr);
    EXPECT_EQ(Form->CaptureControl(), nullptr);
  }
  TDateTimePicker* Picker = nullptr;
  int Changes = 0, Drops = 0, CloseUps = 0;
};

TEST_F(DropDownTest, F4OpensTheCalendarAboveEverythingAndEnterChooses) {
  Input().PressKey(VK_F4);
  ASSERT_TRUE(Picker->GetDroppedDown());
  TMonthCalendar* cal = Picker->Calendar();
  EXPECT_EQ(cal->GetParent(), Form);
  EXPECT_EQ(Form->Controls(Form->ControlCount() - 1), cal);
  EXPECT_EQ(Form->CaptureControl(), cal);
  EXPECT_EQ(cal->GetTop(), Picker->GetTop() + Picker->GetHeight());
  EXPECT_EQ(cal->GetLeft(), Picker->GetLeft());
  EXPECT_EQ(cal->GetDate(), D(2024, 3, 5));
  EXPECT_TRUE(Picker->Focused());  // the calendar never takes the focus
  Input().PressKey(VK_RIGHT);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(cal->GetDate(), D(2024, 4, 13));
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 5));  // nothing chosen yet
  Input().PressKey(VK_RETURN);
  ExpectClosed();
  EXPECT_EQ(Picker->GetDateTime(), EncodeDateTime(2024, 4, 13, 8, 30, 0, 0));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Drops, 1);
  EXPECT_EQ(CloseUps, 1);
}

TEST_F(DropDownTest, AltDownOpensAndEscCancels) {
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Picker->GetDroppedDown());
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_ESCAPE);
  ExpectClosed();
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 5));
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(CloseUps, 1);
  // F4 on the open calendar closes it and keeps the day it shows.
  Input().PressKey(VK_F4);
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_F4);
  ExpectClosed();
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 4));
  EXPECT_EQ(Changes, 1);
}

TEST_F(DropDownTest, AClickElsewhereOrOnTheButtonClosesWithoutChoosing) {
  TPoint b = ButtonCentre();
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(Picker->GetDroppedDown());
  Input().PressKey(VK_RIGHT);
  Input().Click(300, 220);
  ExpectClosed();
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(Picker->GetDroppedDown());
  Input().Click(b.X, b.Y);  // the button toggles
  ExpectClosed();
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 5));
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Drops, 2);
  EXPECT_EQ(CloseUps, 2);
}

TEST_F(DropDownTest, DestroyingThePickerWhileOpenLeavesNothingBehind) {
  Input().PressKey(VK_F4);
  ASSERT_EQ(Form->CaptureControl(), Picker->Calendar());
  int before = Form->ControlCount();
  delete Picker;
  Picker = nullptr;
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  EXPECT_EQ(Form->ControlCount(), before - 2);
  Input().Click(100, 100);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Changes + CloseUps, 0);
}

TEST_F(DropDownTest, AClickOnADayChoosesItAndKeepsTheTimeOfDay) {
  Input().PressKey(VK_F4);
  TMonthCalendar* cal = Picker->Calendar();
  TRect next = cal->NextButtonRect();
  TPoint p = At(cal, next.Left + 2, next.Top + 2);
  Input().Click(p.X, p.Y);  // paging keeps it open
  ASSERT_TRUE(Picker->GetDroppedDown());
  TRect cell = cal->DayCellRect(2, 2);  // April 2024 starts on a Monday: row 2 is 8..14
  p = At(cal, cell.Left + 3, cell.Top + 3);
  Input().Click(p.X, p.Y);
  ExpectClosed();
  EXPECT_EQ(Picker->GetDateTime(), EncodeDateTime(2024, 4, 10, 8, 30, 0, 0));
  EXPECT_EQ(Changes, 1);
}

TEST_F(DropDownTest, LosingTheFocusClosesAndTheCalendarOpensAboveWhenBelowIsFull) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(200, 10, 80, 21);
  Input().PressKey(VK_F4);
  edit->SetFocus();
  ExpectClosed();
  Picker->SetTop(Form->ClientHeight() - 25);
  Picker->SetFocus();
  Input().PressKey(VK_F4);
  TControl* cal = Picker->Calendar();
  EXPECT_EQ(cal->GetTop() + cal->GetHeight(), Picker->GetTop());
  Picker->SetEnabled(false);
  ExpectClosed();
  EXPECT_EQ(Changes, 0);
}

// ---------------------------------------------------------------- registration

class DateTimeRegistrationTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    RegisterDateTimeClasses();
    RegisterDateTimeClasses();  // a second call changes nothing
  }
};

TEST_F(DateTimeRegistrationTest, DatesRoundTripThroughFormTextAsIsoTexts) {
  Form->SetName("Root");
  auto* p = new TDateTimePicker(Form);
  p->SetName("Picker1");
  p->SetParent(Form);
  p->SetMinDate(D(2020, 1, 1));
  p->SetDateTime(EncodeDateTime(2024, 3, 5, 8, 30, 15, 0));
  p->SetFormat("dd.MM.yyyy");
  p->SetDateMode(dmUpDown);
  p->SetShowCheckbox(true);
  auto* c = new TMonthCalendar(Form);
  c->SetName("Cal1");
  c->SetParent(Form);
  c->SetDate(D(2023, 12, 24));
  c->SetFirstDayOfWeek(dowSunday);
  c->SetWeekNumbers(true);
  std::string text = WriteComponentText(Form);
  EXPECT_NE(text.find("Date = '2024-03-05'"), std::string::npos) << text;
  EXPECT_NE(text.find("Time = '08:30:15'"), std::string::npos) << text;
  EXPECT_NE(text.find("MinDate = '2020-01-01'"), std::string::npos) << text;
  EXPECT_EQ(text.find("MaxDate"), std::string::npos) << text;

  auto* other = CreateFromText<TForm>(text, nullptr);
  std::unique_ptr<TForm> guard(other);
  auto* p2 = dynamic_cast<TDateTimePicker*>(other->FindComponent("Picker1"));
  auto* c2 = dynamic_cast<TMonthCalendar*>(other->FindComponent("Cal1"));
  ASSERT_TRUE(p2 && c2);
  EXPECT_EQ(p2->GetDateTime(), p->GetDateTime());
  EXPECT_EQ(p2->GetFormat(), "dd.MM.yyyy");
  EXPECT_EQ(p2->GetDateMode(), dmUpDown);
  EXPECT_EQ(c2->GetDate(), D(2023, 12, 24));
  EXPECT_EQ(c2->GetFirstDayOfWeek(), dowSunday);
  EXPECT_EQ(WriteComponentText(other), text);

  const TPropInfo* date = GetClassInfo("TDateTimePicker").FindProperty("Date");
  ASSERT_NE(date, nullptr);
  EXPECT_THROW(SetPropText(p, *date, "2023-02-29"), Exception);
  EXPECT_THROW(SetPropText(p, *date, "tomorrow"), Exception);
  EXPECT_EQ(p->GetDate(), D(2024, 3, 5));
}

// ---------------------------------------------------------------- pictures

class DateTimeLooksTest : public WidgetTest {};

TEST_F(DateTimeLooksTest, DateTimePickersInTheirStates) {
  Form->SetBounds(0, 0, 200, 190);
  auto put = [&](int Y, int W) {
    auto* p = new TDateTimePicker(Form);
    p->SetParent(Form);
    p->SetBounds(10, Y, W, 21);
    p->SetDateTime(EncodeDateTime(2024, 3, 5, 13, 45, 7, 0));
    return p;
  };
  TDateTimePicker* focused = put(10, 120);  // short date, the month field selected
  focused->SetSelectedField(2);
  TDateTimePicker* longDate = put(36, 180);
  longDate->SetDateFormat(dfLong);
  TDateTimePicker* time = put(62, 100);
  time->SetKind(dtkTime);
  TDateTimePicker* twelve = put(88, 120);
  twelve->SetKind(dtkTime);
  twelve->SetFormat("hh:mm tt");
  TDateTimePicker* check = put(114, 140);
  check->SetShowCheckbox(true);
  check->SetChecked(false);
  TDateTimePicker* upDown = put(140, 140);
  upDown->SetDateMode(dmUpDown);
  upDown->SetShowCheckbox(true);
  upDown->SetEnabled(false);
  ShowForm();
  focused->SetFocus();
  ExpectMatchesGolden(Surface(), "datetime_pickers");
}

TEST_F(DateTimeLooksTest, OpenCalendarUnderThePicker) {
  Form->SetBounds(0, 0, 230, 210);
  auto* p = new TDateTimePicker(Form);
  p->SetParent(Form);
  p->SetBounds(10, 10, 150, 21);
  p->SetDate(D(2024, 3, 5));
  p->Calendar()->SetToday(D(2024, 3, 20));
  ShowForm();
  p->SetFocus();
  p->SetDroppedDown(true);
  ASSERT_TRUE(p->GetDroppedDown());
  ExpectMatchesGolden(Surface(), "datetime_calendar_open");
}

TEST_F(DateTimeLooksTest, MonthCalendarWithWeekNumbersAndLimits) {
  Form->SetBounds(0, 0, 260, 200);
  auto* c = new TMonthCalendar(Form);
  c->SetParent(Form);
  c->SetLeft(8);
  c->SetTop(8);
  c->SetWeekNumbers(true);
  c->SetFirstDayOfWeek(dowSunday);
  c->SetBounds(8, 8, c->PreferredSize().cx, c->PreferredSize().cy);
  c->SetDate(D(2021, 1, 14));
  c->SetMinDate(D(2021, 1, 4));
  c->SetToday(D(2021, 1, 7));
  ShowForm();
  c->SetFocus();
  ExpectMatchesGolden(Surface(), "datetime_month_calendar");
}

}  // namespace
}  // namespace qel::test
