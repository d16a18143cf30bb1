// The row-entry editor driven through the modal hook: the control each column format gives,
// read-only columns, writing back on OK only, the dialog's geometry, a host's form; and the
// date scanner its pickers start from.
#include <gtest/gtest.h>

#include "numio/QEL_NumIO.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/replist/ReportListViewFixture.h"

namespace qel::test {
namespace {

class RowEditTest : public ReportListViewTest {
 protected:
  // Columns of every kind; row 7 is edited.
  void SetUpKinds() {
    const char* formats[] = {"[c:3][120]red|green|blue",
                             "[l:3][100]a|b|c",
                             "[ddd.MM.yyyy][90]24.12.2025",
                             "[i]rix3",
                             "[h][60]rix2",
                             "[e]",
                             "[f]",
                             "[s]$pwd$8",
                             "[#s][150]fixed",
                             "[x]keep",
                             "[dHH:mm]"};
    View->SetNrCols(11);
    View->SetNrRows(8);
    for (int c = 1; c <= 11; ++c) View->SetColumnFormat(c, formats[c - 1]);
    View->SetElem(1, 7, "amber");
    View->SetElem(2, 7, "x");
    View->SetElem(6, 7, "1.5E3");
    View->SetElem(7, 7, "abc");
    View->SetElem(10, 7, "untouched");
    View->SetElem(11, 7, "n/a");  // no time: the picker shows 0
  }
  static TWinControl* Find(TForm* F, const std::string& Name) {
    return dynamic_cast<TWinControl*>(F->FindComponent(Name));
  }
  std::string Row7() {
    std::string s;
    for (int c = 1; c <= View->GetNrOfColumns(); ++c) s += View->GetElem(c, 7) + "|";
    return s;
  }
};

TEST_F(RowEditTest, EachFormatGivesItsControl) {
  SetUpKinds();
  struct TCase {
    int Col;
    const char* Name;
    int Width;
    const char* Text;  // for the numeric fields also their notation
    TInFormat Notation;
  } cases[] = {
      {1, "runtime_rlre_CBox1", 120, "amber", itDynamic},
      {2, "runtime_rlre_CBox2", 100, "", itDynamic},  // x is not listed
      {3, "runtime_rlre_DtPick3", 90, "", itDynamic},
      {4, "runtime_rlre_NumIO4", 200, "007", itInt},
      {5, "runtime_rlre_NumIO5", 60, "07", itHex},
      {6, "runtime_rlre_NumIO6", 200, "1.5E3", itExp},
      {7, "runtime_rlre_NumIO7", 200, "abc", itFloat},  // shown as it stands
      {9, "runtime_rlre_Edit9", 150, "fixed", itDynamic},
  };
  int shown = 0;
  Application->OnModalShow = [&](TForm* F) {
    ++shown;
    EXPECT_EQ(F->GetCaption(), "Editing Row 7");
    EXPECT_EQ(View->RowEditForm(), F);
    for (const TCase& c : cases) {
      SCOPED_TRACE(c.Name);
      TWinControl* w = Find(F, c.Name);
      ASSERT_NE(w, nullptr);
      EXPECT_EQ(w->GetTag(), c.Col);
      EXPECT_EQ(w->GetWidth(), c.Width);
      EXPECT_EQ(w->GetTop(), 45 + 25 * (c.Col - 1));
      if (c.Col != 3) {
        EXPECT_EQ(w->GetText(), c.Text);
      }
      EXPECT_EQ(w->GetEnabled(), c.Col != 9);
      if (auto* n = dynamic_cast<TNumIO*>(w)) {
        EXPECT_EQ(n->GetInputFormat(), c.Notation);
      }
      auto* label =
          dynamic_cast<TLabel*>(F->FindComponent("runtime_rlre_Label" + std::to_string(c.Col)));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->GetCaption(), "C-" + std::to_string(c.Col) + ":");
    }
    auto* list = dynamic_cast<TComboBox*>(Find(F, "runtime_rlre_CBox2"));
    EXPECT_EQ(list->GetStyle(), csDropDownList);
    EXPECT_EQ(list->GetItems()->GetCount(), 3);
    EXPECT_EQ(list->GetDropDownCount(), 3);
    EXPECT_EQ(dynamic_cast<TComboBox*>(Find(F, "runtime_rlre_CBox1"))->GetStyle(), csDropDown);
    EXPECT_EQ(dynamic_cast<TDateTimePicker*>(Find(F, "runtime_rlre_DtPick3"))->GetDateTime(),
              EncodeDate(2025, 12, 24));
    EXPECT_EQ(Find(F, "runtime_rlre_Edit8")->GetText().size(), 8u);  // an invented password
    TWinControl* fixed = Find(F, "runtime_rlre_Edit9");
    EXPECT_EQ(fixed->GetColor(), TColor{0xE0E0E0});
    EXPECT_EQ(fixed->GetFont()->GetColor(), TColor{0x808080});
    // An unknown type letter: the label alone.
    EXPECT_EQ(F->ComponentCount(), 11 + 10 + 2);  // labels, controls, OK and Cancel
    F->Close();
  };
  EXPECT_EQ(View->EditRowEntries(7, 50, 60), mrCancel);
  EXPECT_EQ(View->RowEditForm(), nullptr);
  EXPECT_EQ(Screen->FormCount(), 1);                   // the dialog and everything on it went away
  EXPECT_EQ(View->EditRowEntries(9, 50, 60), mrNone);  // no such row: no dialog
  EXPECT_EQ(shown, 1);
}

TEST_F(RowEditTest, OkWritesBackAndCancelLeavesTheRow) {
  SetUpKinds();
  const std::string before = Row7();
  // Cancel by its button and by Esc; a typed change goes nowhere.
  Application->OnModalShow = [&](TForm* F) {
    THeadlessInput in(F);
    Find(F, "runtime_rlre_Edit8")->SetFocus();
    in.TypeText("zz");
    auto* cancel = dynamic_cast<TSpeedButton*>(F->FindComponent("runtime_rlre_Cancel"));
    in.Click(cancel->GetLeft() + 10, cancel->GetTop() + 10);
  };
  EXPECT_EQ(View->EditRowEntries(7, 0, 0), mrCancel);
  Application->OnModalShow = [&](TForm* F) {
    Find(F, "runtime_rlre_Edit8")->SetFocus();
    THeadlessInput(F).PressKey(VK_ESCAPE);
  };
  EXPECT_EQ(View->EditRowEntries(7, 0, 0), mrCancel);
  EXPECT_EQ(Row7(), before);
  // OK by its button writes every control back, the read-only one too; the unknown column, the
  // unread time the user left alone and the column 0 label cell stay as they were.
  View->SetElem(0, 7, "label");
  std::string password;
  Application->OnModalShow = [&](TForm* F) {
    password = Find(F, "runtime_rlre_Edit8")->GetText();
    auto* ok = dynamic_cast<TSpeedButton*>(F->FindComponent("runtime_rlre_OK"));
    EXPECT_EQ(ok->GetCaption(), "Go");
    THeadlessInput(F).Click(ok->GetLeft() + 10, ok->GetTop() + 10);
  };
  EXPECT_EQ(View->EditRowEntries(7, 0, 0, "Row seven", "Go", "Back"), mrOk);
  EXPECT_EQ(Row7(), "amber||24.12.2025|007|07|1.5E3|abc|" + password + "|fixed|untouched|n/a|");
  EXPECT_EQ(View->GetElem(0, 7), "label");
  // Enter in a numeric field is OK too; a typed change arrives, so does a picked time.
  Application->OnModalShow = [&](TForm* F) {
    dynamic_cast<TDateTimePicker*>(Find(F, "runtime_rlre_DtPick11"))
        ->SetDateTime(EncodeTime(9, 30, 0, 0));
    THeadlessInput in(F);
    auto* n = dynamic_cast<TNumIO*>(Find(F, "runtime_rlre_NumIO4"));
    n->SetFocus();
    n->SelectAll();
    in.TypeText("42");
    in.PressKey(VK_RETURN);
  };
  EXPECT_EQ(View->EditRowEntries(7, 0, 0), mrOk);
  EXPECT_EQ(View->GetElem(4, 7), "42");
  EXPECT_EQ(View->GetElem(11, 7), "09:30");
}

TEST_F(RowEditTest, DialogGeometryFollowsNamesAndWidths) {
  // Column names at most 60 pixels wide and widths 100, 200, 150 give a 296 x 158 dialog.
  TCanvas* canvas = Form->Canvas();
  std::string name;
  for (int a = 0; a < 20 && name.empty(); ++a)
    for (int b = 0; b < 30 && name.empty(); ++b) {
      std::string s = std::string(a, 'n') + std::string(b, 'i');
      if (canvas->TextWidth(s) == 60) name = s;
    }
  ASSERT_FALSE(name.empty());
  View->SetNrCols(3);
  View->SetNrRows(1);
  View->SetColName(1, name);
  View->SetColName(2, "ab");
  View->SetColumnFormat(1, "[s][100]");
  View->SetColumnFormat(2, "[s][200]");
  View->SetColumnFormat(3, "[s][150]");
  int shown = 0;
  Application->OnModalShow = [&](TForm* F) {
    ++shown;
    EXPECT_EQ(F->BoundsRect(), (TRect{30, 40, 30 + 296, 40 + 158}));
    EXPECT_EQ(F->GetBorderStyle(), bsDialog);
    auto* ok = dynamic_cast<TControl*>(F->FindComponent("runtime_rlre_OK"));
    auto* cancel = dynamic_cast<TControl*>(F->FindComponent("runtime_rlre_Cancel"));
    EXPECT_EQ(ok->BoundsRect(), (TRect{114, 4, 114 + 81, 4 + 29}));
    EXPECT_EQ(cancel->BoundsRect(), (TRect{199, 4, 199 + 81, 4 + 29}));
    auto* label = dynamic_cast<TControl*>(F->FindComponent("runtime_rlre_Label2"));
    EXPECT_EQ(label->GetLeft(), 8);
    EXPECT_EQ(label->GetTop(), 45 + 25 + 3);
    EXPECT_EQ(label->GetWidth(), 68);
    EXPECT_EQ(Find(F, "runtime_rlre_Edit3")->GetLeft(), 80);
  };
  View->EditRowEntries(1, 30, 40);
  EXPECT_EQ(shown, 1);
}

TEST_F(RowEditTest, HostFormTakesTheControlsAtItsOffset) {
  View->SetNrCols(2);
  View->SetNrRows(3);
  View->SetColumnFormat(1, "[s][100]");
  View->SetColumnFormat(2, "[s][100]");
  View->SetElem(2, 2, "5");
  // The host turns column 2 into a hexadecimal field for this row.
  View->OnRequestEditFormat = [](TObject*, int Col, int Row, std::string& Format) {
    if (Col == 2 && Row == 2) Format = "[h][80]";
  };
  auto host = std::make_unique<TForm>(Application);
  host->SetBounds(0, 0, 50, 40);
  host->SetCaption("Host");
  auto* own = new TLabel(host.get());
  own->SetParent(host.get());
  Application->OnModalShow = [&](TForm* F) {
    EXPECT_EQ(F, host.get());
    EXPECT_EQ(F->GetCaption(), "");
    EXPECT_EQ(F->FindComponent("runtime_rlre_OK"), nullptr);  // the host brings its buttons
    TWinControl* n = Find(F, "runtime_rlre_NumIO2");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->GetTop(), 20 + 25);
    EXPECT_EQ(n->GetWidth(), 80);
    // Grown to hold the controls, the offset included.
    EXPECT_GE(F->GetWidth(), n->GetLeft() + 80);
    EXPECT_EQ(F->GetHeight(), 20 + 2 * 25 + 38);
    F->SetModalResult(mrOk);
  };
  EXPECT_EQ(View->EditRowEntries(2, host.get(), 10, 20), mrOk);
  EXPECT_EQ(View->GetElem(2, 2), "5");
  EXPECT_EQ(host->ComponentCount(), 1);  // only the host's own label is left
}

TEST(RowEditDateScan, EveryTokenAndError) {
  // Today is in 2026 for the two-digit years, with a window of 50 years.
  const TDateTime d0 = EncodeDate(2026, 12, 8);
  struct TCase {
    const char* Pattern;
    const char* Text;
    int Error;
    TDateTime Value;
  } cases[] = {
      {"dd.MM.yyyy", "08.12.2026", kDateScanOk, d0},
      {"d.M.yyyy", "8.12.2026", kDateScanOk, d0},
      {"dd.MM.yy", "08.12.26", kDateScanOk, d0},
      {"yy", "76", kDateScanOk, EncodeDate(1976, 1, 1)},  // the window starts in 1976
      {"yy", "75", kDateScanOk, EncodeDate(2075, 1, 1)},
      {"yy", "x7", kDateScanOk, EncodeDate(2000, 1, 1)},  // a bad yy reads as 0
      {"dddd, d MMMM yyyy", "Tuesday, 8 December 2026", kDateScanOk, d0},
      {"ddd d MMM yyyy", "tue 8 DEC 2026", kDateScanOk, d0},
      {"MMM d, yyyy", "June 1, 2026", kDateScanOk, EncodeDate(2026, 6, 1)},  // June, not Jun
      {"MMMM d", "Jun 1", kDateScanOk, EncodeDate(2026, 6, 1)},
      {"'at' HH:mm:ss", "at 17:05:09", kDateScanOk, EncodeTime(17, 5, 9, 0)},
      {"H:m:s", "7:5:9", kDateScanOk, EncodeTime(7, 5, 9, 0)},
      {"hh:mm tt", "12:30 AM", kDateScanOk, EncodeTime(0, 30, 0, 0)},
      {"hh:mm tt", "12:30 pm", kDateScanOk, EncodeTime(12, 30, 0, 0)},
      {"h:mm t", "1:30 p", kDateScanOk, EncodeTime(13, 30, 0, 0)},
      {"''''h", "'3", kDateScanOk, EncodeTime(3, 0, 0, 0)},
      {"yyyy-MM-dd HH:mm", "2026-12-08 23:59", kDateScanOk, d0 + EncodeTime(23, 59, 0, 0)},
      {"dd.MM.yyyy", "08/12/2026", kDateScanLiteral, 0},
      {"'on' d", "at 8", kDateScanLiteral, 0},
      {"yyy", "026", kDateScanToken, 0},
      {"ddddd", "8", kDateScanToken, 0},
      {"HHH", "10", kDateScanToken, 0},
      {"MMM yyyy", "Foo 2026", kDateScanField, 0},
      {"dd.MM", "0x.12", kDateScanField, 0},
      {"yyyy", "20a6", kDateScanField, 0},
      {"d.M", ".12", kDateScanField, 0},                // no digits
      {"dd.MM.yyyy", "31.02.2026", kDateScanField, 0},  // no such day
      {"HH:mm", "24:00", kDateScanField, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Pattern) + " <- " + c.Text);
    TDateTime v = -1;
    EXPECT_EQ(ScanDateTimeText(c.Text, c.Pattern, v, 2026, 50), c.Error);
    EXPECT_DOUBLE_EQ(v, c.Value);
  }
  TDateTime v = 0;
  // Window 0 keeps the current century.
  EXPECT_EQ(ScanDateTimeText("99", "yy", v, 2026, 0), kDateScanOk);
  EXPECT_EQ(v, EncodeDate(2099, 1, 1));
}

}  // namespace
}  // namespace qel::test
