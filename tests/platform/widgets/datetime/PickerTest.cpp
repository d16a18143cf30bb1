// The date-time picker's patterns and field-wise editing, driven through injected keys, clicks
// and the wheel: field moves, stepping with wrap-around, digit and letter entry, limits,
// the check box and the change events.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

TDateTime D(int Y, int M, int Day) { return EncodeDate(Y, M, Day); }
TDateTime DT(int Y, int M, int Day, int H, int Mi, int S) {
  return EncodeDateTime(Y, M, Day, H, Mi, S, 0);
}

// ---------------------------------------------------------------- patterns

TEST(DTPatternTest, TokensQuotesAndLongRunsSplitIntoItems) {
  auto items = ParseDTPattern("dd'.'MM 'o''clock' yyyyy ddddd hhh tt");
  std::vector<TDTPatternItem> want = {
      {fkDay, 2, ""},      {fkLiteral, 0, "."}, {fkMonth, 2, ""},    {fkLiteral, 0, " o'clock "},
      {fkYear4, 4, ""},    {fkYear1, 1, ""},    {fkLiteral, 0, " "}, {fkDayName, 4, ""},
      {fkDay, 1, ""},      {fkLiteral, 0, " "}, {fkHour12, 2, ""},   {fkHour12, 1, ""},
      {fkLiteral, 0, " "}, {fkAmPm, 2, ""}};
  EXPECT_EQ(items, want);
  // An unterminated quote runs to the end; letters that are no token are literal.
  auto tail = ParseDTPattern("H 'at x");
  ASSERT_EQ(tail.size(), 2u);
  EXPECT_EQ(tail[1].Text, " at x");
  EXPECT_EQ(ParseDTPattern("Week W").size(), 1u);
  EXPECT_TRUE(ParseDTPattern("").empty());
}

TEST(DTPatternTest, FormatsEveryFieldKind) {
  TDateTime v = DT(2024, 3, 5, 13, 4, 9);
  EXPECT_EQ(FormatDTPattern("d dd ddd dddd", v), "5 05 Tue Tuesday");
  EXPECT_EQ(FormatDTPattern("M MM MMM MMMM", v), "3 03 Mar March");
  EXPECT_EQ(FormatDTPattern("y yy yyyy", v), "4 24 2024");
  EXPECT_EQ(FormatDTPattern("h hh H HH m mm s ss t tt", v), "1 01 13 13 4 04 9 09 P PM");
  EXPECT_EQ(FormatDTPattern("hh tt", DT(2024, 3, 5, 0, 0, 0)), "12 AM");
  EXPECT_EQ(FormatDTPattern("'It''s' yyyy", v), "It's 2024");
}

TEST(DTPatternTest, RuntimeLibraryFormatsTranslateToPickerTokens) {
  TFormatSettings fs;
  EXPECT_EQ(DTPatternFromRtlFormat(fs.ShortDateFormat, fs), "yyyy-MM-dd");
  EXPECT_EQ(DTPatternFromRtlFormat(fs.LongDateFormat, fs), "dddd, d MMMM yyyy");
  EXPECT_EQ(DTPatternFromRtlFormat(fs.LongTimeFormat, fs), "HH:mm:ss");
  // Minutes after an hour, 12-hour clocks with a marker, quoted letters, dropped milliseconds.
  EXPECT_EQ(DTPatternFromRtlFormat("h:mm am/pm", fs), "h:mm tt");
  EXPECT_EQ(DTPatternFromRtlFormat("hh:nn:ss.zzz", fs), "HH:mm:ss.");
  EXPECT_EQ(DTPatternFromRtlFormat("\"day\" d", fs), "'day 'd");
  EXPECT_EQ(DTPatternFromRtlFormat("ddddd", fs), "yyyy-MM-dd");
  fs.ShortDateFormat = "ddddd";  // refers to itself: stops instead of recursing forever
  EXPECT_EQ(DTPatternFromRtlFormat("ddddd", fs), "");
}

// ---------------------------------------------------------------- the picker

class PickerTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Picker = new TDateTimePicker(Form);
    Picker->SetParent(Form);
    Picker->SetBounds(10, 10, 200, 21);
    Picker->SetDateTime(DT(2024, 3, 5, 13, 45, 7));
    Picker->OnChange = [this](TObject*) { ++Changes; };
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 200, 100, 21);
  }
  void Focus() {
    ShowForm();
    Picker->SetFocus();
  }
  void Keys(std::initializer_list<uint16_t> Ks) {
    for (uint16_t k : Ks) Input().PressKey(k);
  }
  TDTFieldKind SelKind() const {
    int i = Picker->GetSelectedField();
    return i < 0 ? fkLiteral : Picker->Items()[static_cast<size_t>(i)].Kind;
  }
  void Select(TDTFieldKind K) {
    for (size_t i = 0; i < Picker->Items().size(); ++i)
      if (Picker->Items()[i].Kind == K) Picker->SetSelectedField(static_cast<int>(i));
    ASSERT_EQ(SelKind(), K);
  }
  TPoint FieldCentre(TDTFieldKind K) {
    for (size_t i = 0; i < Picker->Items().size(); ++i)
      if (Picker->Items()[i].Kind == K) {
        TRect r = Picker->ItemRect(static_cast<int>(i));
        return At(Picker, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
      }
    ADD_FAILURE() << "no such field";
    return {};
  }
  TDateTimePicker* Picker = nullptr;
  TEdit* Other = nullptr;
  int Changes = 0;
};

TEST_F(PickerTest, DefaultPatternsComeFromTheFormatSettings) {
  EXPECT_EQ(Picker->DisplayText(), "2024-03-05");
  Picker->SetDateFormat(dfLong);
  EXPECT_EQ(Picker->DisplayText(), "Tuesday, 5 March 2024");
  Picker->SetKind(dtkTime);
  EXPECT_EQ(Picker->DisplayText(), "13:45:07");
  EXPECT_TRUE(Picker->HasSpinButtons());
  Picker->SetFormat("hh:mm tt");
  EXPECT_EQ(Picker->DisplayText(), "01:45 PM");
  EXPECT_EQ(Changes, 0);  // the program's changes fire nothing
}

TEST_F(PickerTest, LeftRightMoveBetweenFieldsAndStopAtTheEndsTabLeaves) {
  Focus();
  EXPECT_EQ(SelKind(), fkYear4);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(SelKind(), fkYear4);
  Keys({VK_RIGHT});
  EXPECT_EQ(SelKind(), fkMonth);
  Keys({VK_RIGHT, VK_RIGHT});
  EXPECT_EQ(SelKind(), fkDay);
  Keys({VK_LEFT});
  EXPECT_EQ(SelKind(), fkMonth);
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Changes, 0);
  // Selecting by index snaps to a field: at or after the index, else the last one.
  Picker->SetSelectedField(-5);
  EXPECT_EQ(Picker->GetSelectedField(), 0);
  Picker->SetSelectedField(3);  // the "-" before the day
  EXPECT_EQ(SelKind(), fkDay);
  Picker->SetSelectedField(99);
  EXPECT_EQ(SelKind(), fkDay);
}

TEST_F(PickerTest, UpDownStepWithWrapAroundInsideEachFieldsRange) {
  Picker->SetFormat("dd.MM.yyyy HH:mm:ss hh tt");
  Picker->SetDateTime(DT(2024, 12, 31, 23, 59, 59));
  Focus();
  Select(fkMonth);
  Input().PressKey(VK_UP);  // December wraps to January; the year stays
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 23, 59, 59));
  Select(fkDay);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDate(), D(2024, 1, 1));
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Picker->GetDate(), D(2024, 1, 31));
  Select(fkMinute);
  Input().PressKey(VK_UP);  // 59 wraps to 0 without carrying into the hour
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 23, 0, 59));
  Select(fkHour24);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 0, 0, 59));
  Select(fkSecond);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_UP);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 0, 0, 0));
  Select(fkHour12);  // 12 AM, stepping down gives 11 AM, the half of the day stays
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 11, 0, 0));
  Select(fkAmPm);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDateTime(), DT(2024, 1, 31, 23, 0, 0));
  EXPECT_EQ(Changes, 10);
}

TEST_F(PickerTest, TheDayIsClampedToTheLengthOfTheNewMonthOrYear) {
  Picker->SetFormat("dd.MM.yyyy");
  Picker->SetDate(D(2024, 1, 31));
  Focus();
  Select(fkMonth);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDate(), D(2024, 2, 29));
  Select(fkYear4);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDate(), D(2025, 2, 28));
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(13, 45, 7, 0), 1e-9);
}

TEST_F(PickerTest, HomeAndEndGoToTheFieldsLimits) {
  Picker->SetFormat("dd.MM.yyyy HH");
  Picker->SetDate(D(2024, 2, 10));
  Focus();
  Select(fkDay);
  Input().PressKey(VK_END);
  EXPECT_EQ(Picker->GetDate(), D(2024, 2, 29));
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Picker->GetDate(), D(2024, 2, 1));
  Input().PressKey(VK_HOME);  // already there: no change, no event
  Select(fkHour24);
  Input().PressKey(VK_END);
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(23, 45, 7, 0), 1e-9);
  EXPECT_EQ(Changes, 3);
}

TEST_F(PickerTest, TwoDigitFieldsTakeASecondDigitThenMoveOn) {
  Picker->SetFormat("dd.MM.yyyy");
  Focus();
  Input().TypeText("1");  // a day may start with 1: wait for the second digit
  EXPECT_EQ(Picker->PendingDigits(), "1");
  EXPECT_EQ(Changes, 0);
  Select(fkMonth);  // leaving the field applies what was typed
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 1));
  EXPECT_EQ(Changes, 1);
  Input().TypeText("12");
  EXPECT_EQ(Picker->GetDate(), D(2024, 12, 1));
  EXPECT_EQ(SelKind(), fkYear4);
  EXPECT_EQ(Changes, 2);
}

TEST_F(PickerTest, ADigitThatCannotStartATwoDigitValueCompletesAtOnce) {
  Picker->SetFormat("dd.MM.yyyy HH:mm");
  Picker->SetDate(D(2024, 2, 10));
  Focus();
  Input().TypeText("4");  // no day 40..49 in February: day 4, next field
  EXPECT_EQ(Picker->GetDate(), D(2024, 2, 4));
  EXPECT_EQ(SelKind(), fkMonth);
  Input().TypeText("3");  // no month 30..39
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 4));
  EXPECT_EQ(SelKind(), fkYear4);
  Select(fkHour24);
  Input().TypeText("3");  // hours reach 23 only
  EXPECT_EQ(SelKind(), fkMinute);
  Input().TypeText("7");  // 70 minutes do not exist
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(3, 7, 7, 0), 1e-9);
  EXPECT_EQ(SelKind(), fkMinute);  // the last field keeps the selection
  Input().TypeText("07");
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(3, 7, 7, 0), 1e-9);
  EXPECT_EQ(Changes, 4);  // "07" changed nothing
}

TEST_F(PickerTest, TypingTheSeparatorAfterAFieldFinishesIt) {
  Picker->SetFormat("dd.MM.yyyy");
  Focus();
  Input().TypeText("1.2.");  // the month completed itself: its "." is taken silently
  EXPECT_EQ(Picker->GetDate(), D(2024, 2, 1));
  EXPECT_EQ(SelKind(), fkYear4);
  EXPECT_TRUE(Backend()->Beeps.empty());
  Input().TypeText("-.");  // no separator follows the last field
  EXPECT_EQ(Backend()->Beeps.size(), 2u);
  Input().TypeText("2025");
  EXPECT_EQ(Picker->GetDate(), D(2025, 2, 1));
  EXPECT_EQ(Changes, 3);
}

TEST_F(PickerTest, TypedDayBeyondTheMonthIsClampedNotRefused) {
  Picker->SetFormat("dd.MM.yyyy");
  Picker->SetDate(D(2023, 2, 10));
  Focus();
  Input().TypeText("29");
  EXPECT_EQ(Picker->GetDate(), D(2023, 2, 28));
  Select(fkDay);
  Input().TypeText("00");  // below the range: the first day
  EXPECT_EQ(Picker->GetDate(), D(2023, 2, 1));
  Select(fkMonth);
  Input().TypeText("19");
  EXPECT_EQ(Picker->GetDate(), D(2023, 12, 1));
}

TEST_F(PickerTest, YearsTakeFourDigitsOrTwoThroughTheCenturyWindow) {
  Picker->SetFormat("dd.MM.yyyy yy y");
  Picker->SetDate(D(2024, 2, 29));
  Focus();
  Select(fkYear4);
  Input().TypeText("199");
  EXPECT_EQ(Picker->PendingDigits(), "199");
  Input().TypeText("9");
  EXPECT_EQ(Picker->GetDate(), D(1999, 2, 28));
  EXPECT_EQ(SelKind(), fkYear2);
  Input().TypeText("08");  // the two-digit field: 2008 in the window around today
  EXPECT_EQ(Picker->GetDate(), D(2008, 2, 28));
  EXPECT_EQ(SelKind(), fkYear1);
  Input().TypeText("4");  // the last digit
  EXPECT_EQ(Picker->GetDate(), D(2004, 2, 28));
  Select(fkYear4);
  Input().TypeText("12");
  Input().PressKey(VK_RETURN);  // Enter applies the digits typed so far
  EXPECT_EQ(Picker->GetDate(), D(2012, 2, 28));
  EXPECT_EQ(Changes, 4);
}

TEST_F(PickerTest, BackspaceAndEscEditTheDigitsNotYetApplied) {
  Picker->SetFormat("yyyy-MM-dd");
  Focus();
  Input().TypeText("20");
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Picker->PendingDigits(), "2");
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Picker->PendingDigits(), "");
  Input().TypeText("19");
  Input().PressKey(VK_TAB);  // leaving the control applies them
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Picker->GetDate(), D(2019, 3, 5));
  EXPECT_EQ(Changes, 1);
}

TEST_F(PickerTest, LettersChooseNamesByPrefixAndSetTheHalfOfTheDay) {
  Picker->SetFormat("dddd d MMMM yyyy h tt");
  Focus();  // Tuesday 5 March 2024, 1 PM
  Select(fkMonthName);
  Input().TypeText("j");  // the next month with a J after March
  EXPECT_EQ(FormatDTPattern("MMMM", Picker->GetDate()), "June");
  Input().TypeText("a");  // "ja"
  EXPECT_EQ(FormatDTPattern("MMMM", Picker->GetDate()), "January");
  Input().TypeText("u");  // "jau" fits nothing: U is not a month's first letter either
  EXPECT_EQ(FormatDTPattern("MMMM", Picker->GetDate()), "January");
  Input().TypeText("D");
  EXPECT_EQ(FormatDTPattern("MMMM", Picker->GetDate()), "December");
  Select(fkDayName);  // 5 December 2024 is a Thursday; Monday the 2nd starts its week
  Input().TypeText("m");
  EXPECT_EQ(Picker->GetDate(), D(2024, 12, 2));
  Input().TypeText("su");
  EXPECT_EQ(Picker->GetDate(), D(2024, 12, 8));
  Select(fkAmPm);
  Input().TypeText("a");
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(1, 45, 7, 0), 1e-9);
  Input().TypeText("P");
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(13, 45, 7, 0), 1e-9);
  Input().TypeText("9");  // digits do not fit the marker
  EXPECT_FALSE(Backend()->Beeps.empty());
  EXPECT_EQ(Changes, 8);
}

TEST_F(PickerTest, ValuesAreClampedToTheLimitsAndYearsWrapBetweenThem) {
  Picker->SetFormat("dd.MM.yyyy");
  Picker->SetMinDate(D(2020, 6, 15));
  Picker->SetMaxDate(D(2022, 6, 15));
  EXPECT_EQ(Picker->GetDate(), D(2022, 6, 15));  // 2024 was beyond the maximum
  Picker->SetDate(D(1990, 1, 1));
  EXPECT_EQ(Picker->GetDate(), D(2020, 6, 15));
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(13, 45, 7, 0), 1e-9);
  Focus();
  Select(fkYear4);
  Input().PressKey(VK_DOWN);  // below 2020 wraps to 2022
  EXPECT_EQ(Picker->GetDate(), D(2022, 6, 15));
  Select(fkDay);
  Input().PressKey(VK_UP);  // 16 June 2022 lies beyond the maximum
  EXPECT_EQ(Picker->GetDate(), D(2022, 6, 15));
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Picker->GetDate(), D(2022, 6, 14));
  EXPECT_EQ(Changes, 2);
  EXPECT_THROW(Picker->SetMinDate(D(2023, 1, 1)), EDateTimeError);
  EXPECT_THROW(Picker->SetMaxDate(D(2019, 1, 1)), EDateTimeError);
  EXPECT_EQ(Picker->GetMinDate(), D(2020, 6, 15));
  Picker->SetDateTime(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(Picker->GetDate(), D(2022, 6, 14));
  Picker->SetMaxDate(0);  // no limit any more
  Picker->SetDate(D(2030, 1, 1));
  EXPECT_EQ(Picker->GetDate(), D(2030, 1, 1));
}

TEST_F(PickerTest, APatternWithoutFieldsShowsItsTextAndRefusesEdits) {
  Picker->SetFormat("'Fixed' - :");
  EXPECT_EQ(Picker->DisplayText(), "Fixed - :");
  EXPECT_EQ(Picker->GetSelectedField(), -1);
  Focus();
  TDateTime before = Picker->GetDateTime();
  Input().TypeText("12a");
  Keys({VK_UP, VK_HOME, VK_LEFT});
  Input().WheelAt(At(Picker, 20, 10).X, At(Picker, 20, 10).Y, WHEEL_DELTA);
  EXPECT_EQ(Picker->GetDateTime(), before);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Backend()->Beeps.size(), 3u);
  // A new pattern lays the fields out again and selects the first.
  Picker->SetFormat("HH 'h' mm");
  EXPECT_EQ(SelKind(), fkHour24);
  EXPECT_EQ(Picker->DisplayText(), "13 h 45");
}

TEST_F(PickerTest, AClickSelectsTheFieldUnderIt) {
  Picker->SetFormat("dd.MM.yyyy");
  ShowForm();
  TPoint p = FieldCentre(fkYear4);
  Input().Click(p.X, p.Y);
  EXPECT_TRUE(Picker->Focused());
  EXPECT_EQ(SelKind(), fkYear4);
  p = FieldCentre(fkMonth);
  Input().Click(p.X, p.Y);
  EXPECT_EQ(SelKind(), fkMonth);
  // Past the end of the text: the nearest field.
  TRect t = Picker->TextRect();
  Input().Click(At(Picker, t.Right - 2, 10).X, At(Picker, t.Right - 2, 10).Y);
  EXPECT_EQ(SelKind(), fkYear4);
  EXPECT_EQ(Changes, 0);
}

TEST_F(PickerTest, SpinButtonsAndTheWheelStepTheSelectedField) {
  Picker->SetKind(dtkTime);
  ShowForm();
  TRect up = Picker->UpButtonRect(), down = Picker->DownButtonRect();
  ASSERT_FALSE(up.IsEmpty());
  Input().Click(At(Picker, up.Left + 3, up.Top + 3).X, At(Picker, up.Left + 3, up.Top + 3).Y);
  EXPECT_TRUE(Picker->Focused());
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(14, 45, 7, 0), 1e-9);
  TPoint m = FieldCentre(fkMinute);
  Input().Click(m.X, m.Y);
  Input().Click(At(Picker, down.Left + 3, down.Bottom - 3).X,
                At(Picker, down.Left + 3, down.Bottom - 3).Y);
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(14, 44, 7, 0), 1e-9);
  Input().WheelAt(m.X, m.Y, WHEEL_DELTA);
  Input().WheelAt(m.X, m.Y, WHEEL_DELTA);
  Input().WheelAt(m.X, m.Y, -WHEEL_DELTA);
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(14, 45, 7, 0), 1e-9);
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 5));
  EXPECT_EQ(Changes, 5);
  // The date-only picker in up-down mode has spin buttons instead of the calendar.
  Picker->SetKind(dtkDate);
  EXPECT_TRUE(Picker->HasDropDown());
  Picker->SetDateMode(dmUpDown);
  EXPECT_TRUE(Picker->HasSpinButtons());
  Input().PressKey(VK_F4);
  EXPECT_FALSE(Picker->GetDroppedDown());
}

TEST_F(PickerTest, AHeldSpinButtonRepeatsPausesOffTheButtonAndStopsOnRelease) {
  Picker->SetKind(dtkTime);  // the hour field is selected
  ShowForm();
  TRect up = Picker->UpButtonRect();
  TPoint on = At(Picker, up.Left + 3, up.Top + 3);
  Input().MouseDown(on.X, on.Y);
  EXPECT_EQ(Changes, 1);
  Application->AdvanceTime(TDateTimePicker::RepeatDelay - 1);
  EXPECT_EQ(Changes, 1);  // no repeat before the delay
  Application->AdvanceTime(1 + 2 * TDateTimePicker::RepeatInterval);
  int held = Changes;
  EXPECT_GE(held, 3);
  Input().MouseMove(on.X, on.Y + 60);  // off the button: paused
  Application->AdvanceTime(10 * TDateTimePicker::RepeatInterval);
  EXPECT_EQ(Changes, held);
  Input().MouseMove(on.X, on.Y);
  Application->AdvanceTime(TDateTimePicker::RepeatInterval);
  EXPECT_EQ(Changes, held + 1);
  Input().MouseUp(on.X, on.Y);
  Application->AdvanceTime(10 * TDateTimePicker::RepeatInterval);
  EXPECT_EQ(Changes, held + 1);
  EXPECT_NEAR(Picker->GetTime(), EncodeTime((13 + Changes) % 24, 45, 7, 0), 1e-9);
}

TEST_F(PickerTest, TheCheckBoxSwitchesTheValueOffAndOn) {
  Picker->SetShowCheckbox(true);
  ShowForm();
  TRect box = Picker->CheckboxRect();
  TPoint p = At(Picker, box.Left + 5, box.Top + 5);
  Input().Click(p.X, p.Y);
  EXPECT_FALSE(Picker->GetChecked());
  EXPECT_EQ(Changes, 1);
  TDateTime before = Picker->GetDateTime();
  Input().TypeText("7");
  Input().PressKey(VK_UP);
  Input().PressKey(VK_F4);
  EXPECT_EQ(Picker->GetDateTime(), before);
  EXPECT_FALSE(Picker->GetDroppedDown());
  Input().PressKey(VK_SPACE);
  EXPECT_TRUE(Picker->GetChecked());
  EXPECT_EQ(Changes, 2);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDate(), D(2025, 3, 5));
}

TEST_F(PickerTest, KeyEventsSeeKeysFirstAndMayEatThem) {
  std::vector<uint16_t> downs;
  Picker->OnKeyDown = [&](TObject*, uint16_t& Key, TShiftState) {
    downs.push_back(Key);
    if (Key == VK_UP) Key = 0;
  };
  Picker->OnKeyPress = [&](TObject*, char32_t& Key) {
    if (Key == '9') Key = '3';  // a handler may also change what is typed
  };
  Focus();
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->GetDate(), D(2024, 3, 5));
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Picker->GetDate(), D(2023, 3, 5));
  Select(fkMonth);
  Input().TypeText("9");
  EXPECT_EQ(Picker->GetDate(), D(2023, 3, 5));  // typed as 3: March already, no change
  EXPECT_EQ(SelKind(), fkDay);
  EXPECT_EQ(downs.size(), 3u);
  EXPECT_EQ(Changes, 1);
}

TEST_F(PickerTest, DisabledPickerIgnoresInput) {
  ShowForm();
  Picker->SetEnabled(false);
  TRect b = Picker->ButtonRect();
  Input().Click(At(Picker, b.Left + 3, b.Top + 3).X, At(Picker, b.Left + 3, b.Top + 3).Y);
  EXPECT_FALSE(Picker->GetDroppedDown());
  Picker->StepField(1);
  EXPECT_EQ(Changes, 0);
}

}  // namespace
}  // namespace qel::test
