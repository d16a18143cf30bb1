#pragma once
// The common dialogs: TCommonDialog and the colour dialog TColorDialog, with the small controls
// its form is made of and the hue/saturation/luminance conversion it works in; the message boxes.
//
// Where the code lives: ColorDialog.cpp (the conversion, the swatch grids, the colour field, the
// luminance bar, the dialog's form and TColorDialog), MessageDialog.cpp (the message boxes),
// DialogRegistration.cpp (registration).
// docs/dialogs.md records the choices.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/rtl/Strings.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

// ---------------------------------------------------------------- hue, saturation, luminance

// The colour dialog's scale: hue 0..239 (240 steps around the circle, 0 red, 80 green, 160 blue),
// saturation and luminance 0..240.
constexpr int kHueSatLumMax = 240;

struct THueSatLum {
  int Hue = 0;
  int Sat = 0;
  int Lum = 0;
  bool operator==(const THueSatLum&) const = default;
};

// The colour of Hue, Sat, Lum (each clamped to its range; hue 240 and above wraps).
TColor HueSatLumToColor(int Hue, int Sat, int Lum);
inline TColor HueSatLumToColor(const THueSatLum& H) {
  return HueSatLumToColor(H.Hue, H.Sat, H.Lum);
}
// Hue, saturation and luminance of a colour (system colours resolved). Among the nearby values
// it prefers one that converts back to exactly Color, so RGB -> HSL -> RGB is exact wherever an
// exact triple exists. Greys have hue 160 and (wherever that gives them exactly) saturation 0.
THueSatLum ColorToHueSatLum(TColor Color);

// ---------------------------------------------------------------- TCommonDialog

// A dialog that runs modally when Execute is called. OnShow fires once its form is on screen,
// OnClose when the form has gone.
class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  std::string ClassName() const override { return "TCommonDialog"; }
  // Runs the dialog; true when the user confirmed it.
  virtual bool Execute() = 0;
  // The dialog's form while Execute runs, nullptr otherwise.
  TForm* Form() const { return FForm; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual void DoShow();
  virtual void DoClose();
  TForm* FForm = nullptr;
};

// ---------------------------------------------------------------- TColorDialog

enum TColorDialogOption : uint8_t {
  cdFullOpen,
  cdPreventFullOpen,
  cdShowHelp,
  cdSolidColor,
  cdAnyColor
};
using TColorDialogOptions = TSet<TColorDialogOption>;

// Lets the user pick a colour: 48 basic colours, 16 custom colours and, once "Define Custom
// Colors >>" opened the right half, any colour through a hue/saturation field, a luminance bar
// and six number edits. Execute shows a modal form (caption "Color") owned by the dialog; on OK
// Color receives the choice. CustomColors keeps the custom colours as lines "ColorA=hex" ..
// "ColorP=hex" (the colour value in six hex digits, blue first: "ColorA=0000FF" is red) and
// receives the custom colours back after every run, confirmed or not.
class TColorDialog : public TCommonDialog {
 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  std::string ClassName() const override { return "TColorDialog"; }

  // Raises EInvalidOperation "Dialog is already running" when called from within its own run,
  // and EConvertError for a CustomColors value that is not hexadecimal.
  bool Execute() override;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TStrings* GetCustomColors() const { return FCustomColors.get(); }
  void SetCustomColors(const TStrings* Value) { FCustomColors->Assign(Value); }
  TColorDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

  // The 48 basic colours in the order of the palette (row by row, eight to a row).
  static const std::vector<TColor>& BasicColors();
  // The name of custom colour slot Index (0..15): "ColorA" .. "ColorP".
  static std::string CustomColorName(int Index);

 protected:
  friend class TColorDialogForm;
  // The 16 custom colours CustomColors describes (white where a slot is missing).
  std::vector<TColor> ReadCustomColors() const;
  void WriteCustomColors(const std::vector<TColor>& Colors);

 private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};

// ---------------------------------------------------------------- the dialog's controls

// A grid of colour swatches (the basic and the custom colours). A click or an arrow key selects
// a cell; the selected cell wears a dark frame, and the focused grid a focus rectangle around it.
class TColorSwatchGrid : public TCustomControl {
 public:
  explicit TColorSwatchGrid(TComponent* AOwner);
  std::string ClassName() const override { return "TColorSwatchGrid"; }

  void SetGrid(int ACols, int ARows);  // sizes the control to fit
  int Cols() const { return FCols; }
  int Rows() const { return FRows; }
  int CellCount() const { return FCols * FRows; }
  TColor GetCellColor(int Index) const;
  void SetCellColor(int Index, TColor Value);
  // -1 when no cell is selected. Setting it fires nothing.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The cell rectangle (client coordinates) and the cell at a client point (-1 outside).
  TRect CellRect(int Index) const;
  int CellAt(TPoint P) const;

  // Fired when the user selects a cell (click or arrow key).
  TNotifyEvent OnChange;

  static constexpr int kCellWidth = 26;
  static constexpr int kCellHeight = 22;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void SelectByUser(int Index);

 private:
  int FCols = 8;
  int FRows = 6;
  std::vector<TColor> FColors;
  int FItemIndex = -1;
};

// The hue (across) by saturation (up) field with a cross-hair at the current pair.
class THueSatField : public TCustomControl {
 public:
  explicit THueSatField(TComponent* AOwner);
  std::string ClassName() const override { return "THueSatField"; }

  int GetHue() const { return FHue; }
  int GetSat() const { return FSat; }
  void SetHueSat(int Hue, int Sat);  // clamped; fires nothing
  // Where a hue/saturation pair sits and which pair a client point names (clamped).
  TPoint PointOf(int Hue, int Sat) const;
  void PairAt(TPoint P, int& Hue, int& Sat) const;
  TRect FieldRect() const;  // the coloured area inside the sunken border

  TNotifyEvent OnChange;  // the user moved the cross-hair

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void UserSet(int Hue, int Sat);

 private:
  int FHue = 0;
  int FSat = 0;
  bool FDragging = false;
  // The field's colours at luminance 120 depend only on the size: drawn once, then copied.
  std::unique_ptr<TBitmap> FCache;
};

// The luminance bar for one hue and saturation, with a pointer beside it at the current value.
class TLumBar : public TCustomControl {
 public:
  explicit TLumBar(TComponent* AOwner);
  std::string ClassName() const override { return "TLumBar"; }

  int GetLum() const { return FLum; }
  void SetLum(int Value);  // clamped; fires nothing
  void SetHueSat(int Hue, int Sat);
  TRect BarRect() const;
  int PointerY(int Lum) const;
  int LumAt(int Y) const;  // clamped

  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void UserSet(int Lum);

 private:
  int FLum = 0;
  int FHue = 0;
  int FSat = 0;
  bool FDragging = false;
};

// A sunken swatch showing one colour (the dialog's preview).
class TColorPreview : public TGraphicControl {
 public:
  explicit TColorPreview(TComponent* AOwner);
  std::string ClassName() const override { return "TColorPreview"; }
  TColor GetSwatchColor() const { return FSwatch; }
  void SetSwatchColor(TColor Value);

 protected:
  void Paint() override;

 private:
  TColor FSwatch = clBlack;
};

// A number edit: digits only, at most three, the value clamped to 0..MaxValue as it is typed.
class TColorValueEdit : public TCustomEdit {
 public:
  explicit TColorValueEdit(TComponent* AOwner);
  std::string ClassName() const override { return "TColorValueEdit"; }
  int GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value) { FMaxValue = Value; }
  // The value shown (0 while the text is empty); setting it writes the text without OnChange.
  int GetValue() const;
  void SetValue(int Value);

  void KeyPress(char32_t& Key) override;

 protected:
  std::string FilterInput(const std::string& S) const override;
  void Change() override;
  void WMKillFocus(TMessage& Message) override;

 private:
  int FMaxValue = 255;
  bool FSetting = false;
};

// ---------------------------------------------------------------- message boxes

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// A message box form owned by the application: an icon for the type, the text (wrapped when it
// is long) and the buttons in the order of TMsgDlgBtn, centred at the bottom. The caption names
// the type ("Warning", "Error", "Information", "Confirm"; the application's title for mtCustom).
// Each button is named after its result ("Yes", "No", "OK", "Cancel", "Abort", "Retry",
// "Ignore", "All", "NoToAll", "YesToAll") and sets that result; the text is the label "Message".
// OK or else Yes is the default button; Cancel, else No, else a lone OK answers Esc. Without a
// help system mbHelp adds nothing; an empty set gives an OK button, so the box can always close.
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows such a box modally and returns the result (mrCancel when it is closed otherwise).
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx = 0);
// A box with the text and an OK button, captioned with the application's title.
void ShowMessage(const std::string& Msg);
// Makes the application show its errors in an mtError message box with an OK button (Enter
// or Esc closes it, the focus goes back where it was) instead of the backend's native box.
// RegisterStdWidgetClasses installs it.
void InstallErrorDialogHook();

// Registers TButton, TCommonDialog and TColorDialog (and what RegisterStdWidgetClasses
// registers) with the class registry. Idempotent.
void RegisterDialogClasses();

}  // namespace qel
