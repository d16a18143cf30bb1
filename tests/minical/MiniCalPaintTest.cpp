// TMiniCal's drawing probed where it matters: the colours of selected, holiday, weekend and
// inactive cells, the mean colour of a selected holiday, the header colours, the button frames
// with and without Ctl3D, the cells the title and "#" span, the ring around today; and one
// golden sheet of four calendars.
#include <gtest/gtest.h>

#include <memory>

#include "frame/QEL_qelcolors.h"
#include "minical/QEL_MiniCal.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountPixels;
using test::PixelAt;

constexpr TColor kMagenta = 0xFF00FF;

std::unique_ptr<TBitmap> Render(TMiniCal& C) {
  auto b = std::make_unique<TBitmap>(C.GetWidth(), C.GetHeight());
  test::FillBitmap(*b, kMagenta);
  C.PaintTo(b.get());
  return b;
}

// A calendar on 15 March 2024 (a page from Monday: 26 February to 7 April), today elsewhere,
// text without anti-aliasing so that glyph pixels carry the font colour itself.
struct Fixture {
  TMiniCal C{nullptr};
  Fixture() {
    C.SetToday(EncodeDate(2000, 6, 1));
    C.SetDate(EncodeDate(2024, 3, 15));
    C.GetFont()->SetQuality(fqNonAntialiased);
  }
  TColor Corner(const TBitmap& B, int Col, int Row) const {
    const TRect r = C.CellRect(Col, Row);
    return PixelAt(B, r.Left + 1, r.Top + 1);
  }
  int Ink(const TBitmap& B, int Col, int Row, TColor Color) const {
    return CountPixels(B, C.CellRect(Col, Row), Color);
  }
};

TEST(MiniCalPaint, CellColoursBySelectionHolidayWeekdayAndMonth) {
  Fixture f;
  auto b = Render(f.C);
  struct {
    int Col, Row;
    TColor Bg, Fg;
  } cells[] = {
      {5, 4, 0xD0A040, 0xFFFFFF},  // 15 March: selected
      {7, 6, 0x9BD8F1, 0x0000C0},  // 31 March: Easter Sunday
      {1, 7, 0xF8F8F8, 0xC0C0C0},  // 1 April, Easter Monday, but of the next month
      {1, 3, 0xF8F8F8, 0x000000},  // 4 March, Monday
      {6, 3, 0xBBDDEE, 0x000000},  // 9 March, Saturday
      {7, 3, 0xCCEEFF, 0x000000},  // 10 March, Sunday
      {1, 2, 0xF8F8F8, 0xC0C0C0},  // 26 February: inactive
      {7, 7, 0xCCEEFF, 0xC0C0C0},  // 7 April: inactive, on a Sunday
      {0, 3, 0xC0C0C0, 0x000000},  // week number
      {3, 1, 0xC0C0C0, 0x000000},  // weekday name
  };
  for (const auto& c : cells) {
    SCOPED_TRACE(testing::Message() << "cell " << c.Col << "," << c.Row);
    EXPECT_EQ(f.Corner(*b, c.Col, c.Row), c.Bg);
    EXPECT_GT(f.Ink(*b, c.Col, c.Row, c.Fg), 4);
  }
}

TEST(MiniCalPaint, SelectedHolidayTakesTheMeanAndColumnsFollowTheFirstWeekday) {
  Fixture f;
  f.C.SetDay(31);
  auto b = Render(f.C);
  EXPECT_EQ(f.Corner(*b, 7, 6), MeanColor(0xD0A040, 0x9BD8F1));
  EXPECT_GT(f.Ink(*b, 7, 6, 0xFFFFFF), 4);
  f.C.SetIndicateHolidays(false);
  b = Render(f.C);
  EXPECT_EQ(f.Corner(*b, 7, 6), TColor(0xD0A040));
  f.C.SetDay(15);
  f.C.Set1stDayWeek(dwSun);
  b = Render(f.C);
  EXPECT_EQ(f.Corner(*b, 1, 3), TColor(0xCCEEFF));  // Sunday now leads
  EXPECT_EQ(f.Corner(*b, 7, 3), TColor(0xBBDDEE));
  EXPECT_EQ(f.Corner(*b, 2, 3), TColor(0xF8F8F8));
  f.C.SetDayColors(dwMon, clLime);
  f.C.SetColorDayIdBg(clYellow);
  f.C.SetColorWeekNoBg(clAqua);
  b = Render(f.C);
  EXPECT_EQ(f.Corner(*b, 2, 3), clLime);
  EXPECT_EQ(f.Corner(*b, 2, 1), clYellow);
  EXPECT_EQ(f.Corner(*b, 0, 5), clAqua);
}

TEST(MiniCalPaint, ButtonFramesWithAndWithoutCtl3D) {
  Fixture f;
  auto b = Render(f.C);
  const TColor face = ColorToRGB(clBtnFace);
  for (int col : {1, 2, 6, 7}) {
    const TRect r = f.C.CellRect(col, 0);
    SCOPED_TRACE(col);
    EXPECT_EQ(PixelAt(*b, r.Left, r.Top), clWhite);
    EXPECT_EQ(PixelAt(*b, r.Left, r.Bottom - 1), clWhite);
    EXPECT_EQ(PixelAt(*b, r.Right - 1, r.Top), clWhite);
    EXPECT_EQ(PixelAt(*b, r.Left, r.Bottom), TColor(0x686868));  // on the grid line
    EXPECT_EQ(PixelAt(*b, r.Right, r.Top + 1), TColor(0x686868));
    EXPECT_EQ(PixelAt(*b, r.Left + 1, r.Bottom - 1), TColor(0x9CA0A5));
    EXPECT_EQ(PixelAt(*b, r.Right - 1, r.Top + 1), TColor(0x9CA0A5));
    EXPECT_EQ(PixelAt(*b, r.Left + 1, r.Top + 1), TColor(0xE6E2E2));
    EXPECT_EQ(PixelAt(*b, r.Left + 2, r.Top + 2), face);
  }
  // The title spans columns 3 to 5, over the lines between them; "#" spans rows 0 and 1.
  const TRect t3 = f.C.CellRect(3, 0), h = f.C.CellRect(0, 0);
  EXPECT_EQ(PixelAt(*b, t3.Right, t3.Top + 5), face);
  EXPECT_EQ(PixelAt(*b, t3.Left, t3.Top), clWhite);
  EXPECT_EQ(PixelAt(*b, h.Left + 5, h.Bottom), face);
  EXPECT_EQ(PixelAt(*b, h.Left, h.Top), clWhite);
  EXPECT_EQ(PixelAt(*b, h.Right, f.C.CellRect(0, 1).Top + 3), TColor(0x686868));

  f.C.SetCtl3D(false);
  b = Render(f.C);
  for (int col : {1, 2, 6, 7}) {
    const TRect r = f.C.CellRect(col, 0);
    EXPECT_EQ(PixelAt(*b, r.Left, r.Top), face) << col;
    EXPECT_EQ(PixelAt(*b, r.Left, r.Bottom), clBlack) << col;  // the grid's fixed line
  }
  EXPECT_EQ(CountPixels(*b, Rect(0, 0, b->GetWidth(), b->GetHeight()), 0x686868), 0);
  EXPECT_EQ(CountPixels(*b, Rect(0, 0, b->GetWidth(), b->GetHeight()), 0xE6E2E2), 0);
}

TEST(MiniCalPaint, RingAroundTodayOnlyOnItsOwnPage) {
  Fixture f;
  f.C.SetToday(EncodeDate(2024, 3, 20) + 0.25);  // cell (3, 5)
  auto b = Render(f.C);
  const TRect r = f.C.CellRect(3, 5);
  EXPECT_GT(f.Ink(*b, 3, 5, 0x0000FF), 20);
  EXPECT_EQ(PixelAt(*b, r.Left + 2, (r.Top + r.Bottom - 1) / 2), TColor(0x0000FF));
  EXPECT_EQ(PixelAt(*b, r.Left + 1, (r.Top + r.Bottom - 1) / 2), TColor(0xF8F8F8));
  EXPECT_EQ(CountPixels(*b, Rect(0, 0, b->GetWidth(), b->GetHeight()), 0x0000FF),
            f.Ink(*b, 3, 5, 0x0000FF));
  f.C.SetColorToday(clLime);
  b = Render(f.C);
  EXPECT_GT(f.Ink(*b, 3, 5, clLime), 20);
  f.C.SetMarkToday(false);
  b = Render(f.C);
  EXPECT_EQ(f.Ink(*b, 3, 5, clLime), 0);
  f.C.SetMarkToday(true);
  f.C.SetToday(EncodeDate(2023, 3, 20));  // same month, another year
  b = Render(f.C);
  EXPECT_EQ(CountPixels(*b, Rect(0, 0, b->GetWidth(), b->GetHeight()), clLime), 0);
}

TEST(MiniCalPaint, GoldenSheetOfFourCalendars) {
  TMiniCal a(nullptr), g(nullptr), fr(nullptr), es(nullptr);
  for (TMiniCal* c : {&a, &g, &fr, &es}) c->SetToday(EncodeDate(2024, 3, 20));
  a.SetDate(EncodeDate(2024, 3, 31));  // Easter, selected
  g.SetLanguage(lgGerman);
  g.Set1stDayWeek(dwSun);
  g.SetMonthShort(false);
  g.SetDate(EncodeDate(2024, 12, 24));
  fr.SetLanguage(lgFrench);
  fr.SetCtl3D(false);
  fr.SetDate(EncodeDate(2024, 5, 20));
  es.SetLanguage(lgSpanish);
  es.AddRepeatHoliday(19, 3, "San José");
  es.AddHoliday(28, 3, 2024, "Jueves Santo");
  es.SetBounds(0, 0, 360, 220);
  es.SetDate(EncodeDate(2024, 3, 5));
  TBitmap sheet(660, 400);
  test::FillBitmap(sheet, clWhite);
  sheet.Canvas()->Draw(0, 0, Render(a).get());
  sheet.Canvas()->Draw(310, 0, Render(g).get());
  sheet.Canvas()->Draw(0, 190, Render(fr).get());
  sheet.Canvas()->Draw(300, 180, Render(es).get());
  test::ExpectMatchesGolden(sheet, "minical_four_calendars", 40);
}

}  // namespace
}  // namespace qel
