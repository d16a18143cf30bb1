// TMiniCal's drawing: the title row with its buttons, the weekday row, the week numbers, the
// day cells with their weekday, holiday and selection colours and the ring around today, and the
// raised frames of the buttons.
#include "frame/QEL_qelcolors.h"
#include "minical/QEL_MiniCal.h"
#include "platform/rtl/NumText.h"

namespace qel {

TRect TMiniCal::DrawRect(int ACol, int ARow) const {
  TRect r = CellRect(ACol, ARow);
  if (r.IsEmpty()) return r;
  const int g = GetGridLineWidth();
  // The month title takes columns 3 to 5 with the lines between them.
  if (ARow == 0 && ACol == 5) r.Left -= 2 * (GetColWidths(5) + g);
  // "#" reaches up over row 0, whose column 0 draws nothing of its own.
  if (ARow == 1 && ACol == 0) r.Top -= GetRowHeights(0) + g;
  return r;
}

std::string TMiniCal::CellText(int ACol, int ARow) const {
  const int lang = CalLanguageIndex(FLanguage);
  if (ARow == 0) {
    switch (ACol) {
      case 1:
        return "<<";
      case 2:
        return "<";
      case 5: {
        const auto& names = FShowMonthShort ? MonthShort : MonthLong;
        return std::string(names[lang][FPage.Month]) + " " + IntToStr(FPage.Year);
      }
      case 6:
        return ">";
      case 7:
        return ">>";
      default:
        return {};
    }
  }
  if (ARow == 1) {
    if (ACol == 0) return "#";
    return WeekDayShort[lang][FPage.ColumnWeekday(ACol) + 1];
  }
  if (ACol == 0) return IntToStr(FPage.WeekNumber(ARow));
  return IntToStr(FPage.ShownDay(FPage.DayNumber(ACol, ARow)));
}

void TMiniCal::DrawCentred(const TRect& R, const std::string& Text) {
  TCanvas* c = Canvas();
  const int x = R.Left + (R.Width() - c->TextWidth(Text)) / 2;
  const int y = R.Top + (R.Height() - c->TextHeight(Text)) / 2;
  c->TextRect(R, x, y, Text);
}

void TMiniCal::DrawTitleCell(int ACol, const TRect& R) {
  if (ACol == 0 || ACol == 3 || ACol == 4) return;  // drawn by a neighbour
  TCanvas* c = Canvas();
  c->Brush()->SetColor(clBtnFace);
  if (ACol == 5) c->SetClipRect(IntersectRect(R, CellArea()));
  DrawCentred(R, CellText(ACol, 0));
}

void TMiniCal::DrawDayCell(int ACol, int ARow, const TRect& R) {
  TCanvas* c = Canvas();
  const int n = FPage.DayNumber(ACol, ARow);
  TColor bg = FDayColors[FPage.ColumnWeekday(ACol)];
  TColor fg = FColorInactiveMonth;
  if (FPage.IsActive(n)) {
    fg = FColorActiveMonth;
    std::string name;
    const bool holiday = FIndicateHolidays && CheckHoliday(FPage.Year, FPage.Month, n, name);
    if (holiday) {
      bg = FColorHolidayBg;
      fg = FColorHolidayFg;
    }
    if (n == FPage.Day) {
      fg = FColorSelectedFg;
      bg = holiday ? MeanColor(FColorSelectedBg, FColorHolidayBg) : FColorSelectedBg;
    }
  }
  c->Brush()->SetColor(bg);
  c->Font()->SetColor(fg);
  DrawCentred(R, CellText(ACol, ARow));
  if (!FMarkToday || !FPage.IsActive(n)) return;
  int y = 0, m = 0, d = 0;
  DecodeDate(GetToday(), y, m, d);
  if (y != FPage.Year || m != FPage.Month || d != n) return;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(FColorToday);
  c->Brush()->SetStyle(bsClear);
  c->Ellipse(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  c->Brush()->SetStyle(bsSolid);
}

void TMiniCal::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsSolid);
  if (ARow == 0) {
    DrawTitleCell(ACol, DrawRect(ACol, ARow));
  } else if (ARow == 1) {
    if (ACol == 0) {
      const TRect r = DrawRect(0, 1);
      c->SetClipRect(IntersectRect(r, CellArea()));
      c->Brush()->SetColor(clBtnFace);
      DrawCentred(r, CellText(0, 1));
    } else {
      c->Brush()->SetColor(FColorDayIdBg);
      c->Font()->SetColor(FColorDayIdFg);
      DrawCentred(ARect, CellText(ACol, 1));
    }
  } else if (ACol == 0) {
    c->Brush()->SetColor(FColorWeekNoBg);
    c->Font()->SetColor(FColorWeekNoFg);
    DrawCentred(ARect, CellText(0, ARow));
  } else {
    DrawDayCell(ACol, ARow, ARect);
  }
  if (AState.Contains(gdFocused)) c->DrawFocusRect(ARect);
}

void TMiniCal::DrawBtnFrame(const TRect& Rect) {
  TCanvas* c = Canvas();
  const int l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  auto line = [c](TColor Color, TPoint P0, TPoint P1, TPoint P2) {
    c->Pen()->SetColor(Color);
    c->MoveTo(P0.X, P0.Y);
    c->LineTo(P1.X, P1.Y);
    c->LineTo(P2.X, P2.Y);
  };
  line(0xFFFFFF, {l, b - 1}, {l, t}, {r, t});
  line(0x686868, {l, b}, {r, b}, {r, t});
  line(0x9CA0A5, {l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t});
  line(0xE6E2E2, {l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1});
}

void TMiniCal::Paint() {
  TCustomDrawGrid::Paint();
  if (!FCtl3D) return;
  // After the grid lines: the frames' dark edges lie on the lines right and below a button.
  Canvas()->SetClipRect(CellArea());
  for (TGridCoord cell : {TGridCoord{1, 0}, TGridCoord{2, 0}, TGridCoord{5, 0}, TGridCoord{6, 0},
                          TGridCoord{7, 0}, TGridCoord{0, 1}}) {
    const TRect r = DrawRect(cell.X, cell.Y);
    if (!r.IsEmpty()) DrawBtnFrame(r);
  }
  Canvas()->ResetClipRect();
}

}  // namespace qel
