#pragma once
// TNumLab: a read-only number in a framed label box, with an optional caption on the left and a
// unit on the right. The number is formatted by DisplayType, may be rewritten by the host in
// OnBeforeDisplay and is replaced by OverflowIndicator when it does not fit the box.
// docs/displays.md lists the text of every display type.
#include <cstdint>
#include <functional>
#include <string>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

enum TDisplay : uint8_t {
  dtFloat,
  dtFixP,
  dtExp,
  dtHex,
  dtZeroInt,
  dtInt,
  dtDateTime,
  dtState,
  dtBin,
  dtOct,
  dtDeg,
  dtDegMin,
  dtDegMinSec,
  dtEEng,
  dtEEngNoDP
};

using TBeforeDisplayEvent = std::function<void(TObject* Sender, std::string& Text)>;

// The number text of Value for a display type, before the separator and plus-sign steps. A
// value the type cannot show (NaN, an infinity, beyond the 64-bit range for the integer types,
// beyond the calendar for dates) gives Overflow. Free, so that hosts and tests get the same
// texts as the label.
std::string NumLabFormat(TDisplay Type, double Value, int Precision, const std::string& DTFormat,
                         const std::string& StateText, const std::string& Overflow);

class TNumLab : public TGraphicControl {
 public:
  explicit TNumLab(TComponent* AOwner);
  ~TNumLab() override;
  std::string ClassName() const override { return "TNumLab"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  double GetValue() const { return FValue; }
  void SetValue(double Value);
  TDisplay GetDisplayType() const { return FDisplayType; }
  void SetDisplayType(TDisplay Value);
  int GetPrecision() const { return FPrecision; }
  void SetPrecision(int Value);  // negative ignored, capped at 15
  bool GetComma() const { return FComma; }
  void SetComma(bool Value);
  bool GetForcePlusSign() const { return FForcePlusSign; }
  void SetForcePlusSign(bool Value);
  bool GetEmpty() const { return FEmpty; }
  void SetEmpty(bool Value);
  const std::string& GetOverflowIndicator() const { return FOverflowIndicator; }
  void SetOverflowIndicator(const std::string& Value);
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);  // negative ignored, capped at Width
  int GetLabelWidth() const { return FLabelWidth; }
  void SetLabelWidth(int Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRightTextAlignment(TAlignment Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TColor GetColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor Value);
  TColor GetColorLabText() const { return FColorLabText; }
  void SetColorLabText(TColor Value);
  TColor GetColorOutBakG() const { return FColorOutBakG; }
  void SetColorOutBakG(TColor Value);
  TColor GetColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TColor GetFrameShadow() const { return FColorShadow; }
  TColor GetFrameHighlight() const { return FColorHighlight; }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  void SetEnabled(bool Value) override;
  const std::string& GetDTFormat() const { return FDTFormat; }
  void SetDTFormat(const std::string& Value);
  const std::string& GetStateText() const { return FStateText; }
  void SetStateText(const std::string& Value);

  TBeforeDisplayEvent OnBeforeDisplay;

  // The number text after formatting, the separator and plus-sign steps (no event, no width
  // test); empty when Empty.
  std::string NumberText() const;
  // The text the box shows with Canvas's font: NumberText through OnBeforeDisplay and the
  // overflow test.
  std::string DisplayedText(TCanvas* Canvas) const;

  // Geometry shared by painting and tests: the label box (outline rectangle, exclusive right
  // and bottom), the number's clip and the y of every text.
  TRect LabelBoxRect() const;
  TRect NumberClipRect() const;

 protected:
  void Paint() override;

 private:
  // Paints the whole label into Canvas (an off-screen bitmap of the control's size).
  void Render(TCanvas* Canvas) const;
  void Changed();  // repaint after a look or value change

  double FValue = 0;
  TDisplay FDisplayType = dtFixP;
  int FPrecision = 2;
  bool FComma = false;
  bool FForcePlusSign = false;
  bool FEmpty = false;
  std::string FOverflowIndicator = "*********";
  std::string FLeftText, FRightText;
  int FLeftSpace = 35;
  int FLabelWidth = 80;
  TAlignment FAlignment = taCenter;
  TAlignment FLeftTextAlignment = taRightJustify;
  TAlignment FRightTextAlignment = taLeftJustify;
  TFrameStyle FFrameStyle = fsLowered;
  TColor FColorLabBakG = clBtnFace;
  TColor FColorLabText = clBlack;
  TColor FColorOutBakG = clBtnFace;
  TColor FColorOutText = clBlack;
  TColorScheme FColorScheme = csBWG;
  TColor FColorShadow = clGray;
  TColor FColorHighlight = clWhite;
  bool FTransparent = false;
  std::string FDTFormat = "mmm-dd, yyyy";
  std::string FStateText = "undefined";
};

// Registers the published properties of TNumLab, TSevenSeg and TRasterLab (idempotent).
void RegisterDisplayClasses();

}  // namespace qel
