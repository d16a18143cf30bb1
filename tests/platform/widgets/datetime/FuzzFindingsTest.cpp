// Picker faults the fuzzer (fuzz/fuzz_dtpattern.cpp) found: date changes must keep the time of
// day, also on the first day of the calendar and before the epoch, where a time of day makes the
// value more negative; translated formats must keep their fields and literals apart.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePicker.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class PickerFindingsTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Picker = new TDateTimePicker(Form);
    Picker->SetParent(Form);
    Picker->SetBounds(10, 10, 240, 21);
    Picker->OnChange = [this](TObject*) { ++Changes; };
  }
  void FocusOn(TDTFieldKind K) {
    ShowForm();
    Picker->SetFocus();
    for (size_t i = 0; i < Picker->Items().size(); ++i)
      if (Picker->Items()[i].Kind == K) Picker->SetSelectedField(static_cast<int>(i));
    ASSERT_EQ(Picker->Items()[static_cast<size_t>(Picker->GetSelectedField())].Kind, K);
  }
  TDateTimePicker* Picker = nullptr;
  int Changes = 0;
};

TEST_F(PickerFindingsTest, TheFirstDayOfTheCalendarKeepsItsTimeOfDay) {
  Picker->SetFormat("yyyy-MM-dd HH:mm");
  const TDateTime noon = EncodeDateTime(1, 1, 1, 12, 30, 0, 0);
  Picker->SetDateTime(noon);
  EXPECT_EQ(Picker->GetDateTime(), noon);
  EXPECT_EQ(Picker->DisplayText(), "0001-01-01 12:30");
  // Home on the year goes to year 1 and leaves the time alone.
  Picker->SetDateTime(EncodeDateTime(6443, 1, 1, 4, 17, 18, 0));
  FocusOn(fkYear4);
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Picker->DisplayText(), "0001-01-01 04:17");
  EXPECT_NEAR(Picker->GetTime(), EncodeTime(4, 17, 18, 0), 1e-9);
  EXPECT_EQ(Changes, 1);
  // Values beyond either end keep their time of day too.
  Picker->SetDateTime(MinDateTime - 5.25);
  EXPECT_EQ(Picker->DisplayText(), "0001-01-01 06:00");
  Picker->SetDateTime(std::trunc(MaxDateTime) + 5.5);
  EXPECT_EQ(Picker->DisplayText(), "9999-12-31 12:00");
  Picker->SetDateTime(-INFINITY);
  EXPECT_EQ(Picker->DisplayText(), "0001-01-01 00:00");
}

TEST_F(PickerFindingsTest, SteppingTheDayNameBeforeTheEpochKeepsTheTimeOfDay) {
  Picker->SetFormat("ddd dd.MM.yyyy HH:mm");
  Picker->SetDateTime(EncodeDateTime(1800, 3, 5, 6, 0, 0, 0));  // a Wednesday
  FocusOn(fkDayName);
  Input().PressKey(VK_UP);
  EXPECT_EQ(Picker->DisplayText(), "Thu 06.03.1800 06:00");
  Input().PressKey(VK_END);
  EXPECT_EQ(Picker->DisplayText(), "Sun 09.03.1800 06:00");
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Picker->DisplayText(), "Fri 07.03.1800 06:00");
  // Across the epoch: from the day before it to the day after.
  Picker->SetDateTime(EncodeDateTime(1899, 12, 29, 18, 0, 0, 0));  // a Friday
  Input().PressKey(VK_END);
  EXPECT_EQ(Picker->DisplayText(), "Sun 31.12.1899 18:00");
  EXPECT_EQ(Changes, 5);
}

// Translating run-time library formats: two fields of one letter parted only by an empty quote
// ran together into one longer token, and a nested format's quoted literal followed by another
// quoted literal read as one literal with a quote inside.
TEST(DTPatternFindingsTest, TranslatedFormatsKeepFieldsAndLiteralsApart) {
  TFormatSettings fs;
  const TDateTime v = EncodeDateTime(2024, 3, 5, 13, 4, 9, 0);
  EXPECT_EQ(DTPatternFromRtlFormat("h''h", fs), "H''H");
  EXPECT_EQ(FormatDTPattern(DTPatternFromRtlFormat("h''h", fs), v), FormatDateTime("h''h", v, fs));
  EXPECT_EQ(DTPatternFromRtlFormat("ddddd''d", fs), "yyyy-MM-dd''d");
  EXPECT_EQ(FormatDTPattern(DTPatternFromRtlFormat("ddddd''d", fs), v), "2024-03-055");
  EXPECT_EQ(FormatDTPattern(DTPatternFromRtlFormat("yy''yyyy s''ss", fs), v), "242024 909");
  fs.ShortDateFormat = "yy'y'";
  EXPECT_EQ(DTPatternFromRtlFormat("ddddd'm'", fs), "yy'ym'");
  EXPECT_EQ(FormatDTPattern(DTPatternFromRtlFormat("ddddd'm'", fs), v), "24ym");
  EXPECT_EQ(FormatDateTime("ddddd'm'", v, fs), "24ym");
}

}  // namespace
}  // namespace qel::test
