// TRepSpeedButton: repeats in virtual time while held, none for a short press or the right
// button, and an immediate end on release, pointer leave, capture loss, the window losing the
// focus and disabling; the interval setters, the timer error, the published properties, and
// one golden sheet of its looks.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "indicators/QEL_repsbut.h"
#include "platform/controls/Properties.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class RepSpeedButton : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Button = new TRepSpeedButton(Form);
    Button->SetName("Rep1");
    Button->SetParent(Form);
    Button->SetBounds(10, 10, 40, 25);
    Button->SetOnRepeatClick([this](TObject* S) {
      EXPECT_EQ(S, Button);
      Repeats.push_back(Application->GetTickCount() - Pressed);
    });
    Button->OnClick = [this](TObject*) { ++Clicks; };
    ShowForm();
  }
  void Press(TMouseButton B = mbLeft) {
    Pressed = Application->GetTickCount();
    Input().MouseDown(20, 20, B);
  }

  TRepSpeedButton* Button = nullptr;
  std::vector<int64_t> Repeats;
  int64_t Pressed = 0;
  int Clicks = 0;
};

TEST_F(RepSpeedButton, HoldingRepeatsAfterTheStartDelayThenPeriodically) {
  Press();
  Application->AdvanceTime(1000);
  EXPECT_EQ(Repeats, (std::vector<int64_t>{500, 700, 900}));
  Input().MouseUp(20, 20);
  EXPECT_EQ(Clicks, 1);  // the release inside is the button's own click
  EXPECT_FALSE(Button->TimerRunning());
  Application->AdvanceTime(1000);
  EXPECT_EQ(Repeats.size(), 3u);
  // Other intervals.
  Repeats.clear();
  Button->SetStartIv(50);
  Button->SetRepClickIv(30);
  Press();
  Application->AdvanceTime(120);
  EXPECT_EQ(Repeats, (std::vector<int64_t>{50, 80, 110}));
  Input().MouseUp(20, 20);
}

TEST_F(RepSpeedButton, ShortPressesAndOtherButtonsDoNotRepeat) {
  Press();
  Application->AdvanceTime(499);
  Input().MouseUp(20, 20);
  Application->AdvanceTime(2000);
  EXPECT_TRUE(Repeats.empty());
  EXPECT_EQ(Clicks, 1);
  Press(mbRight);
  EXPECT_FALSE(Button->Pressed());
  Application->AdvanceTime(2000);
  Input().MouseUp(20, 20, mbRight);
  EXPECT_TRUE(Repeats.empty());
}

TEST_F(RepSpeedButton, EverythingThatEndsThePressEndsTheRepeatAtOnce) {
  struct Case {
    const char* What;
    std::function<void()> End;
  };
  const Case cases[] = {
      {"capture lost", [this] { Form->SetCaptureControl(nullptr); }},
      {"window lost the focus", [this] { Input().SwitchAway(); }},
      {"pointer left", [this] { Input().MouseMove(200, 200, {ssLeft}); }},
      {"disabled", [this] { Button->SetEnabled(false); }},
      {"hidden", [this] { Button->SetVisible(false); }},
  };
  for (const Case& c : cases) {
    Repeats.clear();
    Clicks = 0;
    Press();
    Application->AdvanceTime(600);
    ASSERT_EQ(Repeats.size(), 1u) << c.What;
    c.End();
    EXPECT_FALSE(Button->Pressed()) << c.What;
    EXPECT_FALSE(Button->TimerRunning()) << c.What;
    Application->AdvanceTime(1000);
    EXPECT_EQ(Repeats.size(), 1u) << c.What;
    EXPECT_EQ(Clicks, 0) << c.What;  // ending the repeat is no click
    Input().MouseUp(200, 200);
    EXPECT_EQ(Clicks, 0) << c.What;
    // Back to a usable button for the next case.
    Input().SwitchBack();
    Button->SetEnabled(true);
    Button->SetVisible(true);
    Input().MouseMove(20, 20);
    Application->AdvanceTime(1000);
  }
}

TEST_F(RepSpeedButton, IntervalSetters) {
  Button->SetStartIv(3);
  EXPECT_EQ(Button->GetStartClickInterval(), 10);
  Button->SetRepClickIv(0);
  EXPECT_EQ(Button->GetRepeatClickInterval(), 10);
  Button->SetStartIv(500);
  Button->SetRepClickIv(200);
  // The same value again while held changes nothing: the first repeat keeps its time.
  Press();
  Application->AdvanceTime(300);
  Button->SetStartIv(500);
  Button->SetRepClickIv(200);
  Application->AdvanceTime(300);
  EXPECT_EQ(Repeats, (std::vector<int64_t>{500}));
  // A new start interval while held starts the wait again.
  Button->SetStartIv(100);
  Application->AdvanceTime(100);
  EXPECT_EQ(Repeats, (std::vector<int64_t>{500, 700}));
  Input().MouseUp(20, 20);
}

TEST_F(RepSpeedButton, NoTimerAvailable) {
  Application->SetTimersFail(true);
  Press();
  ASSERT_EQ(Backend()->Errors.size(), 1u);
  EXPECT_EQ(Backend()->Errors[0], "Component \"Rep1\": no timer available");
  Application->SetTimersFail(false);
  Input().MouseUp(20, 20);
  TRepSpeedButton loose(nullptr);
  loose.SetName("Loose");
  Application->SetTimersFail(true);
  EXPECT_THROW({ loose.MouseDown(mbLeft, {}, 1, 1); }, EQELRepSpeedButton);
  Application->SetTimersFail(false);
}

TEST_F(RepSpeedButton, DesignModeNeverRepeats) {
  Button->SetDesigning(true);
  Button->MouseDown(mbLeft, {}, 5, 5);
  Application->AdvanceTime(2000);
  EXPECT_TRUE(Repeats.empty());
}

TEST_F(RepSpeedButton, PublishedProperties) {
  RegisterRepSpeedButtonClasses();
  const TClassInfo* info = FindClassInfo("TRepSpeedButton");
  ASSERT_NE(info, nullptr);
  EXPECT_NE(info->FindProperty("Caption"), nullptr);  // the speed button's own
  TRepSpeedButton b(nullptr);
  for (const char* own : {"StartClickInterval", "RepeatClickInterval"})
    EXPECT_TRUE(info->FindProperty(own)->IsDefault(&b)) << own;
  SetPropText(&b, *info->FindProperty("StartClickInterval"), "4");
  EXPECT_EQ(b.GetStartClickInterval(), 10);
  TRepSpeedButton c(nullptr);
  c.Assign(&b);
  EXPECT_EQ(c.GetStartClickInterval(), 10);
}

TEST_F(RepSpeedButton, GoldenSheet) {
  // Up, held down while repeating, flat, and disabled: the speed button's own looks stay.
  Button->SetCaption("+");
  auto more = [this](int X, const char* Caption) {
    auto* b = new TRepSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(X, 10, 40, 25);
    b->SetCaption(Caption);
    return b;
  };
  more(60, "-");
  more(110, "Flat")->SetFlat(true);
  more(160, "Off")->SetEnabled(false);
  Press();
  Application->AdvanceTime(800);
  ASSERT_EQ(Repeats.size(), 2u);
  TBitmap sheet(210, 45);
  sheet.Canvas()->CopyRect(Rect(0, 0, 210, 45), Surface().Canvas(), Rect(0, 0, 210, 45));
  Input().MouseUp(20, 20);
  // The captions are anti-aliased text.
  ExpectMatchesGolden(sheet, "repsbut_looks", 30);
}

}  // namespace
}  // namespace qel::test
