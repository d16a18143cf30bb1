#pragma once
// TMarkSel: a table of the 52 mark symbols of DrawMarkOnCanvas from which the user picks one.
// Hidden marks take no cell; the mark nearest to the pointer is highlighted and a click selects
// the nearest one.
//
// Where the code lives: marksel_main.cpp (properties, geometry, mouse), marksel_paint.cpp
// (Paint and the highlight), marksel_register.cpp (published properties). docs/selectors.md
// describes the layout and the decisions.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

using TMarkClickEvent = std::function<void(TObject* Sender, int X, int Y, int Mark)>;

class TMarkSel : public TGraphicControl {
 public:
  explicit TMarkSel(TComponent* AOwner);
  ~TMarkSel() override;
  std::string ClassName() const override { return "TMarkSel"; }
  void Assign(const TPersistent* Source) override;

  // ---- which marks are offered; mark 0 is always there
  bool GetVis(int I) const;          // I outside 0..51 reads mark 0
  void SetVis(int I, bool Visible);  // only 1..51
  void ShowAllMarks();
  void HideAllMarks();

  // ---- geometry, shared by painting and the mouse (recomputed from the size every time)
  int CellWidth() const;   // (Width - 4) div NrOfColumns, never below 0
  int CellHeight() const;  // (Height - 4) div NrOfRows, never below 0
  // The visible marks in index order; the k-th takes cell k.
  std::vector<int> VisibleMarks() const;
  // Centre of the cell of Mark (which must be visible); (-1, -1) for a hidden mark.
  TPoint MarkCentre(int Mark) const;
  // The visible mark nearest to (X, Y); ties keep the lower index; 0 when none is nearer.
  int NearestMark(int X, int Y) const;
  // The selection box of a cell centred at C (Rectangle coordinates) and the smaller box of the
  // highlight.
  TRect SelectionRect(TPoint C) const;
  TRect HiLiteRect(TPoint C) const;
  // The mark drawn highlighted now, -1 when none is.
  int HiLitedMark() const { return FHiLiteShown ? FLastHiLite : -1; }

  // ---- properties
  int GetNrOfColumns() const { return FNrOfColumns; }
  void SetNrCols(int Value);  // 1..51
  int GetNrOfRows() const { return FNrOfRows; }
  void SetNrRows(int Value);  // 1..51
  int GetSelected() const { return FSelected; }
  void SetSelected(int Value);  // -1..51
  TColor GetColorBackGnd() const { return FColorBackGnd; }
  void SetColorBackGnd(TColor Value);
  TColor GetColorMarks() const { return FColorMarks; }
  void SetColorMarks(TColor Value);
  TColor GetColorHiLiteBG() const { return FColorHiLiteBG; }
  void SetColorHiLiteBG(TColor Value);
  TColor GetColorHiLiteSymbol() const { return FColorHiLiteSymbol; }
  void SetColorHiLiteSymbol(TColor Value);
  TColor GetColorSelBG() const { return FColorSelBG; }
  void SetColorSelBG(TColor Value);
  TColor GetColorSelFG() const { return FColorSelFG; }
  void SetColorSelFG(TColor Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  bool GetShowZeroAsCross() const { return FShowZeroAsCross; }
  void SetZeroAsCross(bool Value);
  void SetEnabled(bool Value) override;

  TMarkClickEvent OnMarkClick;
  TMarkClickEvent OnMarkDblClick;
  TNotifyEvent OnPaint;

  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void WMLButtonDblClk(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  struct TMarkColors {
    TColor Back, Marks, SelBG, SelFG;
  };
  TMarkColors CurrentColors() const;
  // One cell as painting shows it: the selection box (when Mark is the selected one) or the
  // background, then the symbol.
  void DrawCell(TCanvas* C, int Mark, TPoint Centre, bool ClearFirst) const;
  void DrawHiLite(TCanvas* C, int Mark, TPoint Centre) const;
  // The symbol of Mark centred on Centre in Color (mark 0 as a cross when asked).
  void DrawSymbol(TCanvas* C, int Mark, TPoint Centre, TColor Color) const;
  // Moves the highlight to Mark, drawing directly on the control.
  void MoveHiLite(int Mark);
  // Click handling shared by the release and the double click.
  void PickAt(int X, int Y, bool Double);
  void Changed();

  std::array<bool, kMarkCount> FVisible{};
  int FSelected = -1;
  int FNrOfColumns = 8;
  int FNrOfRows = 6;
  int FLastHiLite = 0;
  bool FHiLiteShown = false;
  TColor FColorBackGnd = clBtnFace;
  TColor FColorMarks = clBlack;
  TColor FColorHiLiteBG = clRed;
  TColor FColorHiLiteSymbol = clWhite;
  TColor FColorSelBG = clWhite;
  TColor FColorSelFG = clNavy;
  TFrameStyle FFrameStyle = fsEngraved;
  bool FShowZeroAsCross = true;
};

// Registers TMarkSel with the property registry. Idempotent.
void RegisterMarkSelClasses();

}  // namespace qel
