#pragma once
// TOnOffBut: a two-state button drawn from a glyph (check box, radio button, slide switch, LED,
// lamp, arrow, traffic light, smiley, disk lamp or a picture of the user's), with texts on its
// four sides. Buttons with one non-zero GroupIndex on one parent act as a radio group; a button
// latches, or in speed mode is on only while pressed; it can be drawn over its parent.
//
// Where the code lives: QEL_onoffbut.cpp (properties, glyphs, groups, mouse), onoffbut_paint.cpp
// (Paint in its steps), onoffbut_register.cpp (published properties). The glyph sets are PNG
// resources drawn by tools/glyphs (one command redraws them all). docs/onoffbut.md describes the
// layout, paint steps, mouse rules and the decisions taken.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

enum TOnOffButStyle : uint8_t {
  oobsUser,
  oobsCheckbox,
  oobsRadioBut,
  oobsSlideTB,
  oobsSlideLR,
  oobsColSlideTB,
  oobsColSlideLR,
  oobsLedRedGreen,
  oobsArrowTopRgt,
  oobsArrowUpDown,
  oobsArrowLeftRight,
  oobsTrafficLPed,
  oobsBeveledLed,
  oobsSmileyYellow,
  oobsSmileyRedGrn,
  oobsBulb,
  oobsButLamp,
  oobsHDLeft,
  oobsHDRight,
  oobsUser1,
  oobsUser2,
  oobsUser3,
  oobsUser4,
  oobsUser5
};
inline constexpr int kOnOffStyleCount = 24;

// Latching (a click toggles) or momentary (on only while the mouse button is held).
enum TOOButMode : uint8_t { oobmNormalBut, oobmSpeedBut };
// What a press must hit: nothing counts, the glyph, or anywhere in the control.
enum TOOButMouseAction : uint8_t { oomaNone, oomaFocused, oomaPlain };

// Glyph pixels of this colour (0x00BBGGRR) let the background through.
inline constexpr TColor kOnOffSeeThrough = 0xEBBEEB;

// The resource bitmap of a built-in glyph set and its size: four quadrants of half the width
// and half the height, top-left on/enabled, top-right off/enabled, bottom-left on/disabled,
// bottom-right off/disabled. oobsUser has no resource (Resource is nullptr).
struct TOnOffGlyphSet {
  const char* Resource;
  int Width;
  int Height;
};
inline constexpr std::array<TOnOffGlyphSet, kOnOffStyleCount> kOnOffGlyphSets = {{
    {nullptr, 40, 40},       {"CHECKBOX", 32, 32},    {"RADIOBUT", 28, 28},
    {"SLIDETOPBOT", 36, 60}, {"SLIDELFTRGT", 60, 36}, {"COLSLIDETB", 36, 60},
    {"COLSLIDELR", 60, 36},  {"LEDREDGREEN", 28, 28}, {"ARROWTR", 50, 50},
    {"ARROWUD", 50, 50},     {"ARROWLR", 50, 50},     {"TRAFFICLGT", 62, 62},
    {"BEVELEDLED", 34, 34},  {"SMILEYS", 36, 36},     {"SMILEYRG", 36, 36},
    {"BULB", 78, 98},        {"BUTLAMP", 98, 48},     {"HDLEFT", 96, 32},
    {"HDRIGHT", 96, 32},     {"USER1", 48, 48},       {"USER2", 48, 48},
    {"USER3", 48, 48},       {"USER4", 48, 48},       {"USER5", 48, 48},
}};

// Index of a glyph in the glyph arrays: 2 * OnOff + Enabled.
inline constexpr int OnOffGlyphIndex(bool On, bool Enabled) { return 2 * On + Enabled; }

class TOnOffBut : public TGraphicControl {
 public:
  explicit TOnOffBut(TComponent* AOwner);
  ~TOnOffBut() override;
  std::string ClassName() const override { return "TOnOffBut"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;
  void Loaded() override;

  // ---- state and behaviour
  bool GetOnOff() const { return FOnOff; }
  void SetOnOff(bool Value);
  TOnOffButStyle GetButtonStyle() const { return FButtonStyle; }
  void SetButStyle(TOnOffButStyle Value);
  TOOButMode GetMode() const { return FMode; }
  void SetButMode(TOOButMode Value);
  TOOButMouseAction GetMouseAction() const { return FMouseAction; }
  void SetMouseAction(TOOButMouseAction Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllOff() const { return FAllowAllOff; }
  void SetAllowAllOff(bool Value);
  void SetEnabled(bool Value) override;

  // ---- layout
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  int GetTopSpace() const { return FTopSpace; }
  void SetTopSpace(int Value);
  // Centres the glyph: LeftSpace = (Width - gw) div 2, TopSpace = (Height - gh) div 2.
  void AdjustAutoCenter();
  // Re-centres after a size change (when on a parent and AutoCenter is set).
  void ProcessResize(TObject* Sender);

  // ---- texts and look
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  const std::string& GetTopText() const { return FTopText; }
  void SetTopText(const std::string& Value);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  const std::string& GetBottomText() const { return FBottomText; }
  void SetBottomText(const std::string& Value);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLTAlignment(TAlignment Value);
  TAlignment GetTopTextAlignment() const { return FTopTextAlignment; }
  void SetTTAlignment(TAlignment Value);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRTAlignment(TAlignment Value);
  TAlignment GetBottomTextAlignment() const { return FBottomTextAlignment; }
  void SetBTAlignment(TAlignment Value);
  TColor GetColorText() const { return FColorText; }
  void SetColorText(TColor Value);
  TColor GetColorBackgnd() const { return FColorBackgnd; }
  void SetColorBakG(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // ---- glyphs
  // Fills the current glyphs from the style: the user glyphs for oobsUser, else the style's
  // resource.
  void LoadGlyphs();
  // Cuts Bitmap into the four current glyphs (quadrants as in TOnOffGlyphSet). Odd or too
  // small bitmaps are refused (EQELError) and the glyphs stay as they are.
  void ExtractGlyphs(const TBitmap& Bitmap);
  // Takes a four-quadrant bitmap as the user glyphs (shown when ButtonStyle is oobsUser).
  // Raises EQELError for a missing bitmap or one whose width or height is odd or below 2; the
  // glyphs are then kept.
  void SetUserGlyph(const TBitmap* Bitmap);
  // As SetUserGlyph with a BMP or PNG file. Raises EQELError naming the file when it cannot be
  // read or is not a four-quadrant bitmap; the glyphs are then kept.
  void LoadUserGlyph(const std::string& FileName);
  int GlyphWidth() const { return FGlyphWidth; }
  int GlyphHeight() const { return FGlyphHeight; }
  // Current glyph Index (OnOffGlyphIndex) and user glyph Index.
  const TBitmap* Glyph(int Index) const { return FGlyphs[Index & 3].get(); }
  const TBitmap* UserGlyph(int Index) const { return FUserGlyphs[Index & 3].get(); }

  // ---- geometry shared by painting and the mouse
  // Where the glyph is drawn: (LeftSpace + 1, TopSpace + 1), gw x gh.
  TRect GlyphRect() const;
  // Whether a left press at (X, Y) acts on the button under the current MouseAction.
  bool MouseHits(int X, int Y) const;
  enum TTextSide : uint8_t { tsLeft, tsRight, tsTop, tsBottom };
  // Top-left of a text of width TextW on Side, with TextH the height of the sample text.
  TPoint TextPosition(TTextSide Side, int TextW, int TextH) const;

  // Radio group: tells the siblings that this button came on (CM_BUTTONPRESSED).
  void UpdateExclusive();

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;
  void WMLButtonUp(TMessage& Message) override;
  void CMButtonPressed(TMessage& Message);

 private:
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  // Repaints when the glyph position depends on the size: invalidate when transparent (the
  // parent must paint first), else paint now.
  void RefreshLayout();
  void DrawDefaultUserGlyphs();
  void CheckQuadrantBitmap(const TBitmap* Bitmap, const std::string& Source) const;
  // Paint steps (onoffbut_paint.cpp).
  void PaintTexts(TCanvas* Image, TCanvas* Mask, int TextH);
  void PaintGlyph(TBitmap& Image, TBitmap& Mask) const;

  bool FOnOff = true;
  TOnOffButStyle FButtonStyle = oobsColSlideLR;
  TOOButMode FMode = oobmNormalBut;
  TOOButMouseAction FMouseAction = oomaFocused;
  int FGroupIndex = 0;
  bool FAllowAllOff = true;
  bool FAutoCenter = true;
  int FLeftSpace = 35;
  int FTopSpace = 18;
  // Which spaces the form file being read gave (Loaded centres only the others).
  bool FLeftSpaceRead = false;
  bool FTopSpaceRead = false;
  std::string FLeftText, FTopText, FRightText, FBottomText;
  TAlignment FLeftTextAlignment = taRightJustify;
  TAlignment FTopTextAlignment = taCenter;
  TAlignment FBottomTextAlignment = taCenter;
  TAlignment FRightTextAlignment = taLeftJustify;
  TColor FColorText = clBlack;
  TColor FColorBackgnd = clBtnFace;
  TColorScheme FColorScheme = csBWG;
  TFrameStyle FFrameStyle = fsLowered;
  bool FTransparent = false;
  // A press in speed mode switched the button on: the release switches it off again.
  bool FSpeedPressed = false;

  int FGlyphWidth = 0;
  int FGlyphHeight = 0;
  std::array<std::unique_ptr<TBitmap>, 4> FGlyphs;
  std::array<std::unique_ptr<TBitmap>, 4> FUserGlyphs;
  std::unique_ptr<TBitmap> FMask;
};

// Registers TOnOffBut and its enumerations with the property registry. Idempotent.
void RegisterOnOffButClasses();

}  // namespace qel
