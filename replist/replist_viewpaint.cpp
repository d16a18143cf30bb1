// TReportListView drawing: data cells (colours by state, password masking, shortening, check
// boxes and radio buttons, the fixed column's bevel), the column headers with the sort
// indicator, the common header band, the empty-list message and the inter-row indicator.
#include <algorithm>

#include "frame/QEL_stringl.h"
#include "platform/rtl/SafeMath.h"
#include "platform/rtl/StrUtils.h"
#include "replist/QEL_replist.h"

namespace qel {

namespace {

constexpr TColor kBevelLight = 0xFFFFFF;
constexpr TColor kBevelDark = 0x808080;

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

// White from the bottom-left up to the top-left and along the top; grey along the bottom and
// up the right edge.
void Bevel(TCanvas* C, const TRect& R) {
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(kBevelLight);
  C->MoveTo(R.Left, R.Bottom - 1);
  C->LineTo(R.Left, R.Top);
  C->LineTo(R.Right, R.Top);
  C->Pen()->SetColor(kBevelDark);
  C->MoveTo(R.Left + 1, R.Bottom - 1);
  C->LineTo(R.Right - 1, R.Bottom - 1);
  C->LineTo(R.Right - 1, R.Top);
}

// x of a text of Width in the text rectangle R for an alignment.
int AlignedX(const TRect& R, int Width, TAlignment A) {
  switch (A) {
    case taRightJustify:
      return R.Right - Width;
    case taCenter:
      return (R.Left + R.Right) / 2 - Width / 2;
    default:
      return R.Left;
  }
}

// The first N characters of S followed by "...".
std::string Shorten(const std::string& S, int N) { return Utf8Truncate(S, std::max(N, 1)) + "..."; }

}  // namespace

TRect TReportListView::OuterCellRect(int ACol, int ARow) const {
  TRect r = CellRect(ACol, ARow);
  if (r.IsEmpty() || ACol < TCustomGrid::GetFixedCols()) return r;
  const TGridOptions o = GetOptions();
  if (!o.Contains(goVertLine)) r.Right += 1;
  if (!o.Contains(goHorzLine)) r.Bottom += 1;
  return r;
}

std::string TReportListView::ShortenedCellText(TCanvas* Canvas, int C,
                                               const std::string& Text) const {
  const int w = Canvas->TextWidth(Utf8Copy(Text, 1, Utf8CodePointCount(Text)));
  const int m = GetColCheckMode(C) != cmNone ? kCheckBoxRoom : 0;
  const int p = DisplayPosOf(C);
  const int room = (p >= 0 ? TCustomGrid::GetColWidths(p) : 0) - m - 9;
  if (room >= w || w <= 0) return Text;
  const int len = Utf8CodePointCount(Text);
  const int n = std::max(1, RoundToInt(double(len) * room / w - 4));
  if (GetColAlignment(C) == taRightJustify)
    return Utf8Copy(Text, 0, 1) + "..." + Utf8Copy(Text, std::max(len - n, 1), n);
  return Shorten(Text, n);
}

TFontStyles TReportListView::CellFontStyles(bool Highlight) const {
  TFontStyles s = GetFont()->GetStyle();
  if (Highlight && FHighLightBold) s << fsBold;
  return s;
}

int TReportListView::HeaderEnd() const {
  int xEnd = 0;
  for (int c = 0; c < TCustomGrid::GetFixedCols(); ++c) {
    const TRect r = CellRect(c, 0);
    if (!r.IsEmpty()) xEnd = r.Right;
  }
  for (int c = TCustomGrid::GetLeftCol(); c < TCustomGrid::GetColCount(); ++c) {
    const TRect r = CellRect(c, 0);
    if (r.IsEmpty()) break;
    xEnd = r.Right;
  }
  return xEnd;
}

void TReportListView::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  const int head = CountHeadRows();
  if (ARow >= head) {
    DrawDataCell(ACol, ARow, ARect);
  } else if (FColumnHeadersVisible && ARow == head - 1) {
    DrawColumnHeader(ACol, ARect);
  }
  // The common header spans the columns and is drawn once by Paint.
  TCustomDrawGrid::DrawCell(ACol, ARow, TextRectOf(ARect), AState);
}

void TReportListView::DrawDataCell(int ACol, int ARow, const TRect& ARect) {
  TCanvas* cv = Canvas();
  const int c = DataColAt(ACol);
  const int r = DataRowOfGridRow(ARow);
  const bool fixed = ACol < TCustomGrid::GetFixedCols();
  const TRect outer = OuterCellRect(ACol, ARow);
  // The cell covers the gap of a grid line that is not drawn, so shading bands stay whole.
  if (!fixed) cv->SetClipRect(IntersectRect(outer, CellArea()));
  TRect textR = TextRectOf(ARect);

  const TCheckMode mode = c > 0 ? GetColCheckMode(c) : cmNone;
  std::string text = c > 0 ? FData->GetStoredElem(c, r) : std::string();
  if (c > 0 && GetColumnIsPwd(c)) {
    // A check column keeps its marker in front of the mask.
    const std::string marker = mode != cmNone ? Utf8Copy(text, 0, 1) : std::string();
    text = marker + "******";
  }

  TColor font = FColorText;
  TColor bg = FColorBkgdNormal;
  if (FRowColPattern > 0 && ((r - 1) / FRowColPattern) % 2 == 0) bg = FColorBkgdShaded;
  bool high = false;
  const bool enabled = GetEnabled();
  const uint8_t attr = RowAttr(r);
  const bool rowDisabled = (attr & kRowDisabledBit) != 0;
  if (enabled) {
    const bool rowSel = (attr & kRowSelectedBit) != 0;
    const bool colSel = GetColSelect(c);
    if (rowDisabled) {
      bg = FColorDisabledBkgd;
      font = FColorDisabledText;
    } else if (colSel && rowSel) {
      bg = FColorSelectedBoth;
      font = FColorSelectedBothText;
    } else if (colSel) {
      bg = FColorSelectedCol;
      font = FColorSelectedColText;
    } else if (rowSel) {
      bg = FColorSelectedRow;
      font = FColorSelectedRowText;
    }
    if ((FHighLightRow != 0 && r == FHighLightRow) ||
        (FHighLightColumn != 0 && c == FHighLightColumn)) {
      bg = FColorHigh;
      font = FColorHighText;
      high = true;
    }
  }
  // The fixed column is a header: its text keeps the header colour on the header background,
  // except in a disabled row.
  if (fixed) {
    bg = FColorColumnHd;
    if (!rowDisabled) font = FColorColumnHdText;
  }
  if (!enabled) font = clInactiveCaption;
  TColor pen = bg;
  TFontStyles styles = CellFontStyles(high);
  if (OnBeforeRenderCell) OnBeforeRenderCell(this, c, r, pen, bg, font, styles, text);

  cv->Font()->Assign(GetFont());
  cv->Font()->SetColor(font);
  cv->Font()->SetStyle(styles);
  const bool italic = styles.Contains(fsItalic);
  if (c > 0) text = ShortenedCellText(cv, c, text);

  // The outline takes the pen colour (the background unless OnBeforeRenderCell chose another).
  cv->Pen()->SetWidth(1);
  cv->Pen()->SetStyle(psSolid);
  cv->Pen()->SetColor(pen);
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(bg);
  cv->Rectangle(outer);
  cv->Brush()->SetStyle(bsClear);

  const TAlignment align = c > 0 ? GetColAlignment(c) : taLeftJustify;
  auto drawText = [&](const std::string& S) {
    if (S.empty()) return;
    const int width = cv->TextWidth(S) + (italic ? 2 : 0);
    cv->TextRect(textR, AlignedX(textR, width, align), textR.Top - 1, S);
  };
  if (mode == cmNone) {
    drawText(text);
  } else if (Utf8CodePointCount(text) > 1 || FShowEmptyCheckBoxes) {
    textR.Left += kCheckBoxRoom;
    const bool checked = !text.empty() && text[0] != ' ';
    drawText(Utf8Copy(text, 1, Utf8CodePointCount(text)));
    const int L = outer.Left, T = outer.Top;
    if (!FROCheckmarks) {
      cv->Pen()->SetColor(rowDisabled ? bg : enabled ? clBtnShadow : clInactiveCaption);
      if (mode == cmRadio)
        cv->Ellipse(L + 4, T + 4, L + 15, T + 15);
      else
        cv->Rectangle(L + 4, T + 4, L + 15, T + 15);
    }
    if (checked) {
      cv->Pen()->SetColor(enabled ? font : clInactiveCaption);
      if (mode == cmRadio) {
        Line(cv, L + 8, T + 7, L + 11, T + 7);
        for (int i = 0; i <= 2; ++i) Line(cv, L + 7, T + 8 + i, L + 12, T + 8 + i);
        Line(cv, L + 8, T + 11, L + 11, T + 11);
      } else {
        for (int i = 0; i <= 2; ++i) {
          Line(cv, L + 6, T + 8 + i, L + 9, T + 11 + i);
          Line(cv, L + 8, T + 10 + i, L + 13, T + 5 + i);
        }
      }
    }
  }
  if (fixed) Bevel(cv, ARect);
  cv->SetClipRect(IntersectRect(ARect, CellArea()));
}

void TReportListView::DrawColumnHeader(int ACol, const TRect& ARect) {
  TCanvas* cv = Canvas();
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(FColorColumnHd);
  cv->FillRect(ARect);
  const int c = DataColAt(ACol);
  if (c > 0) {
    cv->Font()->Assign(GetFont());
    cv->Font()->SetColor(FColorColumnHdText);
    cv->Brush()->SetStyle(bsClear);
    const std::string name = GetColName(c);
    std::vector<std::string> lines;
    Tokenize(name, '\n', lines);
    const bool sorted = c == GetSortColumn();
    const int colW = TCustomGrid::GetColWidths(ACol);
    const int room = colW - (sorted ? kSortIndicatorRoom : 0) - 9;
    const int h = cv->TextHeight(name);
    const TRect textR = TextRectOf(ARect);
    const TAlignment align = GetColAlignment(c);
    int firstWidth = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string line = lines[i];
      int w = cv->TextWidth(line);
      if (w > room && w > 0) {
        const int len = Utf8CodePointCount(line);
        line = Shorten(line, RoundToInt(double(len) * room / w - 3));
        w = cv->TextWidth(line);
      }
      if (i == 0) firstWidth = w;
      cv->TextRect(ARect, AlignedX(textR, w, align), ARect.Top + 2 + static_cast<int>(i) * h, line);
    }
    if (sorted) {
      const int tw = textR.Width();
      int d = align == taRightJustify ? tw - firstWidth - 12
              : align == taCenter     ? tw / 2 + firstWidth / 2 + 10
                                      : firstWidth + 10;
      d = std::min(d, colW - 12);
      const int x = textR.Left + d, y = ARect.Top + 2 + h / 2;
      cv->Pen()->SetWidth(1);
      cv->Pen()->SetStyle(psSolid);
      if (GetSortOrder()) {
        cv->Pen()->SetColor(kBevelDark);
        Line(cv, x - 4, y + 3, x, y - 3);
        cv->Pen()->SetColor(kBevelLight);
        cv->LineTo(x + 4, y + 3);
        cv->LineTo(x - 4, y + 3);
      } else {
        cv->Pen()->SetColor(kBevelLight);
        Line(cv, x + 4, y - 3, x, y + 3);
        cv->Pen()->SetColor(kBevelDark);
        cv->LineTo(x - 4, y - 3);
        cv->LineTo(x + 4, y - 3);
      }
    }
  }
  Bevel(cv, ARect);
}

void TReportListView::DrawCommonHeader(const TRect& Band) {
  TCanvas* cv = Canvas();
  cv->SetClipRect(IntersectRect(Band.Inflate(1, 1), CellArea()));
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(FColorCommonHd);
  cv->FillRect(Band);
  cv->Font()->Assign(GetFont());
  cv->Font()->SetColor(FColorCommonHdText);
  cv->Brush()->SetStyle(bsClear);
  const std::string& text = GetCommonHeader();
  std::vector<std::string> lines;
  Tokenize(text, '\n', lines);
  const int h = cv->TextHeight(text);
  const int xEnd = Band.Right;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int w = cv->TextWidth(lines[i]);
    const int x = FHdAlign == taRightJustify ? xEnd - w - 6
                  : FHdAlign == taCenter     ? xEnd / 2 - w / 2
                                             : 4;
    cv->TextRect(Band, x, Band.Top + 2 + static_cast<int>(i) * h, lines[i]);
  }
  cv->Pen()->SetWidth(1);
  cv->Pen()->SetStyle(psSolid);
  cv->Pen()->SetColor(kBevelLight);
  Line(cv, Band.Left, Band.Bottom - 1, Band.Left, Band.Top);
  cv->LineTo(xEnd, Band.Top);
  cv->Pen()->SetColor(kBevelDark);
  Line(cv, Band.Left + 1, Band.Bottom - 1, xEnd - 1, Band.Bottom - 1);
  Line(cv, xEnd - 1, Band.Bottom - 1, xEnd - 1, Band.Top);
  cv->Pen()->SetColor(clBlack);
  Line(cv, xEnd, Band.Bottom, xEnd, Band.Top - 1);
  cv->ResetClipRect();
}

void TReportListView::PaintEmptyMessage() {
  TCanvas* cv = Canvas();
  const TRect area = CellArea();
  const int top = area.Top + FixedHeight();
  cv->SetClipRect(area);
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(GetColor());
  cv->FillRect({area.Left, top, area.Right, area.Bottom});
  if (!FEmptyMessage.empty()) {
    cv->Font()->Assign(GetFont());
    cv->Font()->SetColor(FColorEmptyMsg);
    cv->Brush()->SetStyle(bsClear);
    std::vector<std::string> lines;
    Tokenize(FEmptyMessage, '|', lines);
    const int h = cv->TextHeight(FEmptyMessage);
    const int n = static_cast<int>(lines.size());
    const int base = top - h * n;
    for (int i = 0; i < n; ++i) {
      const int w = cv->TextWidth(lines[i]);
      cv->TextOut((GetWidth() - w) / 2, base + (GetHeight() - base) / 2 + h * i - 2, lines[i]);
    }
  }
  cv->ResetClipRect();
}

void TReportListView::PaintInterRowIndicator() {
  const int k = FInterRowIndi;
  const int head = CountHeadRows();
  const int top = TCustomGrid::GetTopRow();
  if (k == 0 || k < top - head + 1 || k > GetNrOfRows() + 1) return;
  TCanvas* cv = Canvas();
  const TRect area = CellArea();
  // Along the grid line above data row k (below the last row for NrOfRows + 1).
  const int g = GridRowOfDataRow(k);
  const int64_t y64 = area.Top + FixedHeight() + FRows.Pos(g) - FRows.Pos(top) - 1;
  if (y64 > area.Bottom + FInterRowIndicatorWidth) return;
  const int y = static_cast<int>(y64);
  cv->SetClipRect(area);
  cv->Pen()->SetStyle(psSolid);
  cv->Pen()->SetColor(FInterRowIndicatorColor);
  cv->Pen()->SetWidth(FInterRowIndicatorWidth);
  Line(cv, 0, y, GetWidth(), y);
  cv->Pen()->SetWidth(1);
  cv->ResetClipRect();
}

void TReportListView::Paint() {
  if (FSuppressPaint) return;
  TCustomDrawGrid::Paint();
  if (FCommonHeaderVisible) {
    const TRect row0 = CellRect(TCustomGrid::GetFixedCols() > 0 ? 0 : TCustomGrid::GetLeftCol(), 0);
    if (!row0.IsEmpty()) DrawCommonHeader({CellArea().Left, row0.Top, HeaderEnd(), row0.Bottom});
  }
  if (GetNrOfRows() == 0) PaintEmptyMessage();
  PaintInterRowIndicator();
}

}  // namespace qel
