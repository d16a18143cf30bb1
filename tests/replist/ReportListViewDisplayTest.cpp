// The report-list view's display: index mapping and header rows, colours by state probed on the
// surface, shortening, check boxes, the empty message, the inter-row indicator, column widths,
// the pass-through notifications, Assign, the registry, and one golden sheet.
#include <gtest/gtest.h>

#include <set>

#include "platform/controls/Properties.h"
#include "tests/replist/ReportListViewFixture.h"

namespace qel::test {
namespace {

TEST_F(ReportListViewTest, NewViewShowsFiveNamedColumnsFourRowsAndOneHeaderRow) {
  EXPECT_EQ(View->GetNrOfColumns(), 5);
  EXPECT_EQ(View->GetNrOfRows(), 4);
  EXPECT_EQ(View->GetColName(5), "C-5");
  EXPECT_EQ(View->CountHeadRows(), 1);
  EXPECT_EQ(View->GetFixedRows(), 1);
  EXPECT_EQ(View->GetRowCount(), 5);
  EXPECT_EQ(View->GetRowHeights(0), 20);
  EXPECT_FALSE(View->GetSuppressPaint());  // the window exists
  // The header band is drawn in the column-header colour.
  TRect h = HeaderOnForm(0);
  EXPECT_EQ(Px(h.Left + 2, h.Bottom - 3), ColorToRGB(clBtnFace));
}

TEST_F(ReportListViewTest, HeaderRowsDecideFixedRowsCountsAndHeights) {
  View->SetCommonHeaderHeight(200);
  EXPECT_EQ(View->GetCommonHeaderHeight(), 127);
  View->SetCommonHeaderHeight(3);
  EXPECT_EQ(View->GetCommonHeaderHeight(), 8);
  View->SetCommonHeaderHeight(30);
  View->SetColumnHeadersHeight(22);
  struct Case {
    bool Common, Columns;
    int Head, Row0, Row1;
  };
  const int def = View->GetDefaultRowHeight();
  for (Case k : {Case{true, true, 2, 30, 22}, Case{true, false, 1, 30, def},
                 Case{false, true, 1, 22, def}, Case{false, false, 0, def, def}}) {
    View->SetCommonHeaderVisible(k.Common);
    View->SetColumnHeadersVisible(k.Columns);
    SCOPED_TRACE(std::to_string(k.Common) + std::to_string(k.Columns));
    EXPECT_EQ(View->CountHeadRows(), k.Head);
    EXPECT_EQ(View->GetFixedRows(), k.Head);
    EXPECT_EQ(View->GetRowCount(), k.Head + 4);
    EXPECT_EQ(View->GetRowHeights(0), k.Row0);
    EXPECT_EQ(View->GetRowHeights(1), k.Row1);
    EXPECT_EQ(View->MouseCell(Mid(View->CellRect(1, k.Head)).X, Mid(View->CellRect(1, k.Head)).Y).Y,
              1);
  }
  // No rows: the grid still holds one empty data row.
  View->SetNrRows(0);
  EXPECT_EQ(View->GetRowCount(), 1);
}

TEST_F(ReportListViewTest, ShadingBandsFollowRowColPattern) {
  View->SetNrRows(6);
  const TColor shaded = ColorToRGB(View->GetColorBkgdShaded());
  const TColor normal = ColorToRGB(View->GetColorBkgdNormal());
  View->SetRowColPattern(2);
  const TColor want2[] = {shaded, shaded, normal, normal, shaded, shaded};
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(CellBackground(1, r), want2[r - 1]) << r;
  // Without grid lines the band runs through the gap between cells and rows.
  TRect c = CellOnForm(1, 1);
  EXPECT_EQ(Px(c.Right, c.Top + 3), shaded);
  EXPECT_EQ(Px(c.Left + 3, c.Bottom), shaded);
  View->SetRowColPattern(0);
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(CellBackground(1, r), normal) << r;
}

TEST_F(ReportListViewTest, StateColoursTakeTheirPrecedence) {
  View->SetNrRows(6);
  View->SetRowSelectMode(2);
  View->SetColorSelectedCol(0x00FF00);
  View->SetColorSelectedBoth(0xFF0000);
  View->SetRowSelect(1, true);
  View->SetRowSelect(2, true);
  View->SetHighLightRow(2);
  View->SetRowSelect(3, true);
  View->SetRowEnabled(3, false);
  View->SetRowSelect(4, true);
  View->SetColSelect(2, true);
  struct Case {
    int P, R;
    TColor Want;
  };
  for (Case k :
       {Case{0, 1, View->GetColorSelectedRow()}, Case{0, 2, View->GetColorHigh()},
        Case{0, 3, View->GetColorDisabledBkgd()}, Case{1, 4, 0xFF0000}, Case{1, 5, 0x00FF00},
        Case{0, 6, View->GetColorBkgdNormal()}, Case{0, 5, View->GetColorBkgdShaded()}})
    EXPECT_EQ(CellBackground(k.P, k.R), ColorToRGB(k.Want)) << k.P << "," << k.R;
  // A disabled view draws its texts in the inactive caption colour.
  View->SetElem(1, 6, "HHHH");
  TRect c = CellOnForm(0, 6);
  const TColor bg = ColorToRGB(View->GetColorBkgdNormal());
  const int ink = CountOtherPixels(Surface(), c, bg);
  const TColor stem = Px(c.Left + 4, c.Top + 6);
  EXPECT_GT(ink, 10);
  EXPECT_NE(stem, bg);
  View->SetEnabled(false);
  EXPECT_EQ(CountOtherPixels(Surface(), c, bg), ink);
  EXPECT_NE(Px(c.Left + 4, c.Top + 6), stem);
}

TEST_F(ReportListViewTest, LongTextsAreShortenedWithDots) {
  View->SetNrRows(1);
  View->SetColWidths(1, 60);
  const std::string text(50, 'x');
  View->SetElem(1, 1, text);
  TCanvas* cv = Form->Surface()->Canvas();
  cv->Font()->Assign(View->GetFont());
  std::string shown = View->ShortenedCellText(cv, 1, text);
  EXPECT_LT(shown.size(), text.size());
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  View->SetColAlignment(1, taRightJustify);
  shown = View->ShortenedCellText(cv, 1, "a" + text);
  EXPECT_EQ(shown.substr(0, 4), "a...");
  // Short texts are left alone, and nothing is drawn past the cell.
  EXPECT_EQ(View->ShortenedCellText(cv, 1, "ab"), "ab");
  TRect c = CellOnForm(0, 1);
  const TColor ink = ColorToRGB(View->GetColorText());
  EXPECT_GT(CountPixels(Surface(), c, ink), 0);
  TRect next = CellOnForm(1, 1);
  EXPECT_EQ(CountPixels(Surface(), next, ink), 0);
}

TEST_F(ReportListViewTest, CheckBoxesRadioDotsAndEmptyBoxes) {
  View->SetNrRows(3);
  View->SetColCheckMode(1, cmBox);
  View->SetColCheckMode(2, cmRadio);
  View->SetElem(1, 1, "on");
  View->SetElemChecked(1, 1, true);
  View->SetElem(1, 2, "off");
  View->SetElemChecked(2, 2, true);
  const TColor shadow = ColorToRGB(clBtnShadow), ink = ColorToRGB(View->GetColorText());
  auto box = [&](int P, int R) {
    TRect c = CellOnForm(P, R);
    return CountPixels(Surface(), {c.Left + 4, c.Top + 4, c.Left + 15, c.Top + 15}, shadow);
  };
  auto tick = [&](int P, int R) {
    TRect c = CellOnForm(P, R);
    return CountPixels(Surface(), {c.Left + 5, c.Top + 5, c.Left + 14, c.Top + 14}, ink);
  };
  EXPECT_EQ(box(0, 1), 40);   // an 11 x 11 square outline
  EXPECT_EQ(tick(0, 1), 21);  // two three-pixel-thick strokes, meeting in 3 pixels
  EXPECT_EQ(tick(0, 2), 0);
  EXPECT_GT(box(1, 2), 20);  // a circle
  EXPECT_EQ(tick(1, 2), 3 + 3 * 5 + 3);
  EXPECT_EQ(box(0, 3), 40);  // an empty cell still shows its box
  View->SetShowEmptyCheckBoxes(false);
  EXPECT_EQ(box(0, 3), 0);
  EXPECT_EQ(box(0, 2), 40);
  View->SetROCheckmarks(true);
  EXPECT_EQ(box(0, 1), 0);
  EXPECT_EQ(tick(0, 1), 21);
}

TEST_F(ReportListViewTest, EmptyListShowsItsMessageCentredBelowTheHeaders) {
  View->SetNrRows(0);
  View->SetColorEmptyMsg(0x0000FF);
  View->SetEmptyMessage("two|lines");
  const TRect all = {View->GetLeft(), View->GetTop(), View->GetLeft() + View->GetWidth(),
                     View->GetTop() + View->GetHeight()};
  // Only the message has that colour: find its two lines as two runs of inked rows.
  int runs = 0, top = -1, left = all.Right, right = all.Left;
  bool in = false;
  for (int y = all.Top; y < all.Bottom; ++y) {
    bool any = false;
    for (int x = all.Left; x < all.Right; ++x)
      if (y > HeaderOnForm(0).Bottom && x > all.Left + 1 && x < all.Right - 2 &&
          y < all.Bottom - 2 && Px(x, y) != ColorToRGB(clWindow)) {
        any = true;
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
    if (any && top < 0) top = y;
    if (any && !in) ++runs;
    in = any;
  }
  EXPECT_EQ(runs, 2);
  EXPECT_GT(top, HeaderOnForm(0).Bottom);
  const int mid = View->GetLeft() + View->GetWidth() / 2;
  EXPECT_NEAR((left + right) / 2, mid, 3);
}

TEST_F(ReportListViewTest, InterRowIndicatorRunsAlongTheTopOfItsRow) {
  View->SetNrRows(4);
  View->SetInterRowIndicatorWidth(1);
  View->SetInterRowIndi(3);
  TRect c = CellOnForm(0, 3);
  EXPECT_EQ(Px(c.Left + 5, c.Top - 1), 0x0000FF);
  EXPECT_NE(Px(c.Left + 5, c.Top + 1), 0x0000FF);
  View->SetInterRowIndi(0);
  EXPECT_NE(Px(c.Left + 5, c.Top - 1), 0x0000FF);
}

TEST_F(ReportListViewTest, SortIndicatorPointsUpAscendingAndDownDescending) {
  FillNamed(3, 3);
  auto indicator = [&](bool Ascending) {
    View->Sort(1, -1, Ascending);
    TRect h = HeaderOnForm(0);
    // Grey on the left slope for an up triangle, white there for a down one.
    return AsciiArt(Surface(), {h.Left, h.Top, h.Right, h.Bottom}, {{0x808080, 'g'}}, '.');
  };
  EXPECT_NE(indicator(true), indicator(false));
  View->UnSort();
  EXPECT_EQ(View->GetSortColumn(), -1);
}

TEST_F(ReportListViewTest, ColumnWidthsFitTheirTexts) {
  FillNamed(3, 3);
  View->SetElem(2, 2, "a much longer text than the others");
  const int w = View->DetermineMaxColWidth(2, false);
  TCanvas* cv = Form->Surface()->Canvas();
  cv->Font()->Assign(View->GetFont());
  EXPECT_EQ(w, cv->TextWidth("a much longer text than the others") + 10);
  EXPECT_EQ(View->DetermineMaxColWidth(9, true), 10);
  View->AutoColWidth(2, false, 5);
  EXPECT_EQ(View->GetColWidths(2), w + 5);
  View->AutoColWidth(2, false, 5, 40);
  EXPECT_EQ(View->GetColWidths(2), 40);
  int setups = 0;
  View->OnChangeSetup = [&](TObject*) { ++setups; };
  View->FitAllColWidths(3, true, 0, 1000, 0);
  EXPECT_GT(setups, 0);
  int sum = 0;
  for (int c = 1; c <= 3; ++c) sum += View->GetColWidths(c);
  EXPECT_EQ(sum, View->CellArea().Width());
}

TEST_F(ReportListViewTest, NotificationsAndReadCellHook) {
  int changes = 0, setups = 0;
  View->OnChange = [&](TObject*) { ++changes; };
  View->OnChangeSetup = [&](TObject*) { ++setups; };
  View->SetElem(1, 1, "a");
  EXPECT_EQ(changes, 1);
  View->SetColAlignment(1, taCenter);
  View->SetColAlignment(1, taCenter);  // no change, no event
  EXPECT_EQ(changes, 2);
  View->SetColorText(0x123456);
  EXPECT_EQ(setups, 1);
  View->OnReadCell = [](TObject*, int, int, std::string& T) { T += "!"; };
  EXPECT_EQ(View->GetElem(1, 1), "a!");
  View->SetElem(2, 3, "abc");
  EXPECT_THROW(View->GetAsNumber(2, 3), EQELDStructError);
  try {
    View->GetAsNumber(2, 3);
  } catch (const EQELDStructError& e) {
    EXPECT_EQ(e.Message, "Class TReportListView: invalid numeric string: [2,3]: abc");
  }
  int percent = -1;
  View->OnPercentDone = [&](TObject* S, int P) {
    EXPECT_EQ(S, View);
    percent = P;
  };
  View->Sort(1, -1, true);
  EXPECT_EQ(percent, 100);
  std::string html;
  View->OnBeforeHTMLExport = [&](TObject* S, std::string& T, int, int) {
    EXPECT_EQ(S, View);
    html += T;
  };
  View->Data()->HTMLText(1, 1, 1, 4, {}, 0, 0, 0, false, "", "", "");
  EXPECT_EQ(html, "a");
}

TEST_F(ReportListViewTest, StructuralChangesMoveThePerColumnEntries) {
  FillNamed(3, 3);
  View->SetColAlignment(2, taRightJustify);
  View->SetColumnIsPwd(3, true);
  View->SetColumnEditable(2, true);
  EXPECT_EQ(View->InsertColumn(2), 2);
  EXPECT_EQ(View->GetNrOfColumns(), 4);
  EXPECT_EQ(View->GetColAlignment(2), taLeftJustify);
  EXPECT_EQ(View->GetColAlignment(3), taRightJustify);
  EXPECT_TRUE(View->GetColumnEditable(3));
  EXPECT_TRUE(View->GetColumnIsPwd(4));
  EXPECT_EQ(View->GetColCount(), 4);
  View->RemoveColumn(2);
  EXPECT_EQ(View->GetColAlignment(2), taRightJustify);
  EXPECT_TRUE(View->GetColumnIsPwd(3));
  EXPECT_EQ(View->InsertColumn(9), 4);
  EXPECT_EQ(View->InsertRow(2), 2);
  EXPECT_EQ(View->GetNrOfRows(), 4);
  EXPECT_EQ(View->GetElem(1, 3), "c1r2");
  EXPECT_EQ(View->InsertRow(99), 5);
  EXPECT_EQ(View->AddRow(), 6);
  EXPECT_EQ(View->GetRowCount(), 7);
  View->RemoveEmptyRows();
  EXPECT_EQ(View->GetNrOfRows(), 3);
  // Both header rows and one data row left: removing it blanks it and leaves no rows.
  View->SetCommonHeaderVisible(true);
  View->RemoveRow(3);
  View->RemoveRow(2);
  View->RemoveRow(1);
  EXPECT_EQ(View->GetNrOfRows(), 0);
  EXPECT_EQ(View->GetRowCount(), 3);
}

// The fault guarded: removing a storage row while a sort order was pending deleted another
// record than the one the user saw.
TEST_F(ReportListViewTest, RemoveRowRemovesTheRowTheUserSeesUnderAPendingSort) {
  View->SetNrCols(1);
  View->SetNrRows(4);
  for (int r = 1; r <= 4; ++r) View->SetElem(1, r, std::string(1, char('a' + r - 1)));
  View->Sort(1, -1, false);  // shown: d c b a
  ASSERT_EQ(View->GetElem(1, 1), "d");
  View->RemoveRow(1);
  EXPECT_EQ(View->GetNrOfRows(), 3);
  EXPECT_EQ(View->GetElem(1, 1), "c");
  EXPECT_EQ(View->GetElem(1, 2), "b");
  EXPECT_EQ(View->GetElem(1, 3), "a");
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(View->Data()->GetStorage()->GetSortOrder(r), r);
}

TEST_F(ReportListViewTest, AssignCopiesLookContentsAndColumnEntries) {
  FillNamed(3, 2);
  View->SetColorText(0x112233);
  View->SetCommonHeaderVisible(true);
  View->SetColAlignment(2, taCenter);
  View->SetColumnOrder({3, 1, 2});
  View->SetEmptyMessage("not copied");
  TReportListView copy(nullptr);
  copy.Assign(View);
  EXPECT_EQ(copy.GetColorText(), 0x112233);
  EXPECT_TRUE(copy.GetCommonHeaderVisible());
  EXPECT_EQ(copy.GetRowCount(), 2 + 2);
  EXPECT_EQ(copy.GetElem(3, 2), "c3r2");
  EXPECT_EQ(copy.GetColAlignment(2), taCenter);
  EXPECT_EQ(copy.GetColOrder(1), 3);
  EXPECT_EQ(copy.GetEmptyMessage(), "");
  // The copied sorting event reports the copy, not the view it came from.
  View->OnBeforeSortExchange = [](TObject* S, std::string&, std::string&) {
    EXPECT_NE(dynamic_cast<TReportListView*>(S), nullptr);
    EXPECT_EQ(S->ClassName(), "TReportListView");
    static_cast<TReportListView*>(S)->SetTag(static_cast<TReportListView*>(S)->GetTag() + 1);
  };
  View->Sort(1, -1, true);  // installs the view's hook in its store
  const intptr_t viewTag = View->GetTag();
  copy.Assign(View);
  copy.Data()->Sort(2, -1, false);  // the store alone, right after the copy
  EXPECT_GT(copy.GetTag(), 0);
  EXPECT_EQ(View->GetTag(), viewTag);
}

TEST(ReportListViewProperties, RegisteredWithTheirDefaults) {
  ResetHeadlessApplication();
  RegisterRepListClasses();
  RegisterRepListClasses();
  for (const char* name : {"TReportListView", "TRLData"}) {
    const TClassInfo* info = FindClassInfo(name);
    ASSERT_NE(info, nullptr) << name;
    std::unique_ptr<TPersistent> fresh(info->Create(nullptr));
    for (const TPropInfo* p : info->Properties()) {
      if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(fresh.get())) continue;
      EXPECT_TRUE(p->IsDefault(fresh.get())) << name << "." << p->Name;
    }
  }
  TReportListView v(nullptr);
  const TClassInfo* info = FindClassInfo("TReportListView");
  SetPropText(&v, *info->FindProperty("NrOfRows"), "7");
  EXPECT_EQ(v.GetRowCount(), 8);
  SetPropText(&v, *info->FindProperty("CommonHeaderAlignment"), "taRightJustify");
  EXPECT_EQ(v.GetCommonHeaderAlignment(), taRightJustify);
}

// One sheet: common and column headers with a sort indicator, shading, selected, highlighted
// and disabled rows, check and radio columns, a password column, a fixed first column, and an
// empty list with its message.
TEST_F(ReportListViewTest, GoldenSheet) {
  Form->SetBounds(0, 0, 640, 300);
  View->SetBounds(4, 4, 400, 200);
  View->SetNrCols(5);
  View->SetNrRows(8);
  View->SetCommonHeaderVisible(true);
  View->SetCommonHeader("Measurements\nrun 7");
  View->SetCommonHeaderHeight(34);
  View->SetFixedFirstColumn(true);
  View->SetDefaultRowHeight(18);
  View->SetColCheckMode(3, cmBox);
  View->SetColCheckMode(4, cmRadio);
  View->SetColumnIsPwd(5, true);
  View->SetColAlignment(2, taRightJustify);
  const char* names[] = {"No", "Value", "Ok", "Ch", "Key"};
  for (int c = 1; c <= 5; ++c) View->SetColName(c, names[c - 1]);
  for (int r = 1; r <= 8; ++r) {
    View->SetElem(1, r, std::to_string(r));
    View->SetElem(2, r, std::to_string(r * 1.25).substr(0, 5));
    View->SetElem(3, r, r % 3 ? "yes" : "");
    View->SetElemChecked(3, r, r % 2 == 0);
    View->SetElem(4, r, "ch");
    View->SetElem(5, r, "secret");
  }
  View->SetElemChecked(4, 3, true);
  View->SetColWidths(1, 30);
  View->SetColWidths(3, 50);
  View->SetColWidths(4, 44);
  View->Sort(2, -1, true);
  View->SetRowSelect(2, true);
  View->SetHighLightRow(4);
  View->SetRowEnabled(6, false);
  View->SetInterRowIndi(8);
  TReportListView* empty = new TReportListView(Form);
  empty->SetParent(Form);
  empty->SetBounds(410, 4, 220, 120);
  empty->SetNrCols(2);
  empty->SetNrRows(0);
  empty->SetEmptyMessage("No data|yet");
  TBitmap b;
  b.SetSize(640, 210);
  Form->PaintTo(&b, 0, 0);
  ExpectMatchesGolden(b, "replist_view", 200);
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

// A view on no form paints into a bitmap (qel-render, benchmarks), scrolled anywhere.
TEST(ReportListViewAlone, PaintsIntoABitmapWithoutAForm) {
  TReportListView v(nullptr);
  v.SetBounds(0, 0, 300, 200);
  v.SetNrCols(3);
  v.SetNrRows(1000);
  v.SetCommonHeaderVisible(true);
  v.SetColCheckMode(2, cmBox);
  for (int r = 1; r <= 1000; ++r) v.SetElem(1, r, std::to_string(r));
  TBitmap b(300, 200);
  FillBitmap(b, 0x123456);
  v.PaintTo(&b);
  EXPECT_EQ(CountPixels(b, Rect(0, 0, 300, 200), 0x123456), 0);
  v.SetTopRow(500);
  v.PaintTo(&b);
  EXPECT_EQ(v.GetTopRow(), 500);
}

}  // namespace
}  // namespace qel::test
