// The gallery's demos show good use: entries a cell or a field cannot hold are refused in the
// error dialog, the buttons page reports its clicks and opens the message boxes, status lines
// fit their bars, and hints show on the pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/gallery/DialogDemo.h"
#include "apps/gallery/GalleryForm.h"
#include "apps/gallery/GridDemo.h"
#include "apps/gallery/MeterDemo.h"
#include "apps/gallery/NumIODemo.h"
#include "apps/gallery/RotLabDemo.h"
#include "apps/gallery/WidgetsDemo.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Messages.h"
#include "tests/support/Golden.h"

namespace qel::test {
namespace {

class GalleryDemos : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    RegisterGalleryClasses();
    Application->CreateForm(Form);
    Form->Show();
    Application->ProcessMessages();
    // Every modal box is recorded (caption and text) and answered with the next key.
    Application->OnModalShow = [this](TForm* F) {
      auto* text = dynamic_cast<TControl*>(F->FindComponent("Message"));
      Boxes.push_back(F->GetCaption() + ": " + (text ? text->GetCaption() : std::string()));
      uint16_t key = VK_RETURN;
      if (!Answers.empty()) {
        key = Answers.front();
        Answers.erase(Answers.begin());
      }
      THeadlessInput(F).PressKey(key);
    };
  }
  void TearDown() override { ResetHeadlessApplication(); }

  void Show(const std::string& Stem) {
    for (int i = 0; i < Form->PageCount(); ++i)
      if (Form->PageSource(i).Stem == Stem) Form->ShowPage(i);
    ASSERT_NE(Form->Page(), nullptr);
    Application->ProcessMessages();
  }
  template <class T>
  T* Find(const std::string& Name) {
    auto* c = dynamic_cast<T*>(Form->Page()->FindComponent(Name));
    EXPECT_NE(c, nullptr) << Name;
    return c;
  }
  TGalleryForm* Form = nullptr;
  std::vector<std::string> Boxes;
  std::vector<uint16_t> Answers;
};

// Enter on a cell's entry: refused ones raise the error dialog and keep the editor open with
// the entry; Esc then gives the old text back.
TEST_F(GalleryDemos, TheGridRefusesTimesAndReadingsItCannotHold) {
  Show("grid");
  auto* grid = Find<TDemoGrid>("Readings");
  ASSERT_NE(grid, nullptr);
  THeadlessInput in(Form);
  grid->SetFocus();
  struct Case {
    int Col;
    const char* Typed;
    const char* Refusal;  // nullptr: taken
    const char* Stored;
  };
  const Case cases[] = {
      {1, "9999", "'99:99' is not a valid time", nullptr},
      {1, "2400", "'24:00' is not a valid time", nullptr},
      {1, "2359", nullptr, "23:59"},
      {3, "abc", "'abc' is not a valid reading", nullptr},
      {3, "1.5e", "'1.5e' is not a valid reading", nullptr},
      {4, "-12.5", nullptr, "-12.5"},
  };
  int row = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    grid->SetCol(c.Col);
    grid->SetRow(++row);
    const std::string before = grid->CellText(c.Col, row);
    Boxes.clear();
    in.PressKey(VK_F2);
    ASSERT_TRUE(grid->GetEditorMode());
    if (c.Col == 1) in.PressKey(VK_HOME);  // the masked time types over its slots
    in.TypeText(c.Typed);
    in.PressKey(VK_RETURN);
    if (!c.Refusal) {
      EXPECT_TRUE(Boxes.empty());
      EXPECT_FALSE(grid->GetEditorMode());
      EXPECT_EQ(grid->CellText(c.Col, row), c.Stored);
      continue;
    }
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].rfind(std::string("Error: ") + c.Refusal, 0), 0u) << Boxes[0];
    EXPECT_TRUE(grid->GetEditorMode());
    EXPECT_TRUE(grid->InplaceEditor()->Focused());
    // Moving to another cell is refused the same way.
    in.PressKey(VK_DOWN);
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(grid->GetRow(), row);
    in.PressKey(VK_ESCAPE);
    EXPECT_FALSE(grid->GetEditorMode());
    EXPECT_EQ(grid->CellText(c.Col, row), before);
  }
}

TEST_F(GalleryDemos, TheDateFieldRefusesDatesThatDoNotExist) {
  Show("widgets");
  auto* date = Find<TDateMaskEdit>("DateMaskEdit");
  ASSERT_NE(date, nullptr);
  THeadlessInput in(Form);
  for (const char* typed : {"99999999", "31022026", "29022027", "24062026", "29022028"}) {
    SCOPED_TRACE(typed);
    date->SetFocus();
    date->SelectAll();
    Boxes.clear();
    in.TypeText(typed);
    in.PressKey(VK_TAB);
    const std::string digits(typed);
    const bool real = digits == "24062026" || digits == "29022028";
    if (real) {
      EXPECT_TRUE(Boxes.empty());
      EXPECT_FALSE(date->Focused());
      continue;
    }
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].rfind("Error: '" + digits.substr(0, 2) + "-", 0), 0u) << Boxes[0];
    EXPECT_NE(Boxes[0].find("is not a valid date"), std::string::npos);
    EXPECT_TRUE(date->Focused());
  }
}

TEST_F(GalleryDemos, TheButtonsPageReportsClicksAndOpensTheMessageBoxes) {
  Show("dialogs");
  auto* panel = Find<TDialogPanel>("DemoDialog");
  auto* plain = Find<TButton>("PlainButton");
  auto* message = Find<TButton>("MessageButton");
  auto* question = Find<TButton>("QuestionButton");
  ASSERT_TRUE(panel && plain && message && question);
  THeadlessInput in(Form);
  auto click = [&](TControl* C) {
    TPoint p = C->ClientToParent({C->GetWidth() / 2, C->GetHeight() / 2}, Form);
    in.Click(p.X, p.Y);
  };
  click(plain);
  EXPECT_EQ(panel->Status(), "Plain clicked (1 click)");
  Find<TEdit>("NoteEdit")->SetFocus();
  in.PressKey(VK_RETURN);  // from the edit inside the panel Enter clicks Default
  EXPECT_EQ(panel->Status(), "Default clicked (2 clicks)");
  EXPECT_TRUE(Boxes.empty());

  click(message);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find("ShowMessage"), std::string::npos) << Boxes[0];
  EXPECT_EQ(panel->Status(), "Message... clicked (3 clicks); the message was closed");

  const std::pair<uint16_t, const char*> answers[] = {
      {VK_RETURN, "Yes"}, {'N', "No"}, {VK_ESCAPE, "Cancel"}};
  int clicks = 3;
  for (auto [key, said] : answers) {
    Boxes.clear();
    Answers = {key};
    click(question);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0], "Confirm: Save the settings before closing?");
    EXPECT_EQ(panel->Status(), "Question... clicked (" + std::to_string(++clicks) +
                                   " clicks); MessageDlg answered " + said);
  }
}

// The status bar of an animated page shows its whole text: the ink ends before the bar does,
// at the widest angle, running or paused.
TEST_F(GalleryDemos, TheRotatedLabelStatusLineFitsItsBar) {
  Show("rotlab");
  auto* driver = Find<TTimerDriver>("Driver");
  auto* label = Find<TRotLab>("Turning");
  ASSERT_TRUE(driver && label);
  for (bool running : {true, false}) {
    driver->SetRunning(running);
    label->SetTextAngle(358);
    Application->ProcessMessages();
    const TPoint at = driver->ClientToParent({0, 0}, Form);
    const TRect bar = Rect(at.X, at.Y, at.X + driver->GetWidth(), at.Y + driver->GetHeight());
    const TRect ink = InkBounds(*Form->Surface(), bar, ColorToRGB(clBtnFace));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LT(ink.Right, bar.Right - 4) << (running ? "running" : "paused");
  }
}

// The image meter's knob is round: its corners show the dial under it, not a square backdrop.
TEST_F(GalleryDemos, TheImageMeterKnobHasTransparentCorners) {
  Show("meter");
  auto* meter = Find<TMeter>("ImageMeter");
  auto* driver = Find<TMeterDriver>("Driver");
  ASSERT_TRUE(meter && driver && driver->Knob());
  const TBitmap& knob = *driver->Knob();
  const TColor backdrop = PixelAt(knob, 0, knob.GetHeight() - 1);
  const TMeterGeometry& g = meter->Geometry();
  const TPoint at =
      meter->ClientToParent({g.CX - knob.GetWidth() / 2, g.CY - knob.GetHeight() / 2}, Form);
  const TRect box = Rect(at.X, at.Y, at.X + knob.GetWidth(), at.Y + knob.GetHeight());
  meter->Repaint();
  const TBitmap& s = *Form->Surface();
  EXPECT_EQ(CountPixels(s, box, backdrop), 0);
  const TPoint mid{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
  EXPECT_EQ(PixelAt(s, mid.X + 4, mid.Y + 4), PixelAt(knob, 16, 16));  // the knob's body
  // A corner is the dial's face, as just outside the box.
  EXPECT_EQ(PixelAt(s, box.Left, box.Top), PixelAt(s, box.Left - 1, box.Top));
}

// The linear meter's labels stand clear of its coloured band: no band pixel inside a label's
// text box.
TEST_F(GalleryDemos, TheLinearMeterLabelsSitOffItsBand) {
  Show("meter");
  auto* meter = Find<TMeter>("LinearMeter");
  ASSERT_NE(meter, nullptr);
  std::vector<TRect> boxes;
  meter->OnBeforeDrawScaleLabel = [&boxes](TObject*, TCanvas* C, std::string& Text, int X, int Y) {
    const TSize e = C->TextExtent(Text);
    boxes.push_back(Rect(X, Y, X + e.cx, Y + e.cy));
  };
  meter->Repaint();
  ASSERT_GE(boxes.size(), 5u);
  const TBitmap& s = *Form->Surface();
  const TPoint o = meter->ClientToParent({0, 0}, Form);
  for (const TRect& b : boxes) {
    const TRect r = b.Offset(o.X, o.Y);
    for (TColor band :
         {meter->GetColorSclBkLow(), meter->GetColorSclBkNorm(), meter->GetColorSclBkHigh()})
      EXPECT_EQ(CountPixels(s, r, ColorToRGB(band)), 0) << r.Left << "," << r.Top;
  }
}

// A page's description is one line under its title: it must fit the page as the gallery
// first shows it, or its end is cut off.
// The numeric page's readout says what the field holds now, not what it held at the last
// keystroke: a value set from the property panel clears "out of range".
TEST_F(GalleryDemos, TheNumericReadoutFollowsValuesSetFromOutside) {
  Show("numio2");
  auto* f = Find<TNumIO2>("ExpField");
  TNumIOReadout* readout = nullptr;
  for (int i = 0; i < Form->Page()->ComponentCount(); ++i)
    if (auto* r = dynamic_cast<TNumIOReadout*>(Form->Page()->Components(i))) readout = r;
  ASSERT_TRUE(f && readout);
  f->SetValue(5000);  // above RangeHigh
  ASSERT_TRUE(f->OnChange);
  f->OnChange(f);
  EXPECT_NE(readout->Readout().find("(out of range)"), std::string::npos) << readout->Readout();
  f->SetValue(12.5);
  EXPECT_EQ(readout->Readout(), "ExpField.Value = 12.5");
  delete f;  // the readout forgets a field that goes
  EXPECT_FALSE(readout->Readout().empty());
}

TEST_F(GalleryDemos, EveryPageDescriptionFitsItsPage) {
  TBitmap b(8, 8);
  for (int i = 0; i < Form->PageCount(); ++i) {
    Form->ShowPage(i);
    auto* page = dynamic_cast<TGalleryPage*>(Form->Page());
    ASSERT_NE(page, nullptr);
    b.Canvas()->Font()->Assign(page->GetFont());
    b.Canvas()->Font()->SetSize(8);
    EXPECT_LE(10 + b.Canvas()->TextWidth(page->GetDescription()), page->GetWidth() - 4)
        << page->GetCaption() << ": " << page->GetDescription();
  }
}

// Hints are on: resting the pointer on a button of the buttons page shows its hint.
TEST_F(GalleryDemos, HintsShowOnThePages) {
  Show("dialogs");
  auto* plain = Find<TButton>("PlainButton");
  ASSERT_NE(plain, nullptr);
  THeadlessInput in(Form);
  TPoint p = plain->ClientToParent({10, 10}, Form);
  in.MouseMove(p.X, p.Y);
  in.MouseMove(p.X + 1, p.Y);
  Application->AdvanceTime(Application->GetHintPause() + 10);
  EXPECT_EQ(Application->HintControl(), plain);
  EXPECT_EQ(Application->GetHint(), plain->GetHint());
  EXPECT_FALSE(plain->GetHint().empty());
}

}  // namespace
}  // namespace qel::test
