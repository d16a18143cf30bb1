// Published properties of the standard widgets, for form files, qel-render and the gallery.
#include "platform/controls/Properties.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterStdWidgetClasses() {
  RegisterPlatformClasses();
  InstallErrorDialogHook();
  RegisterEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  RegisterEnum<TEditCharCase>("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
  RegisterEnum<TScrollStyle>("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  RegisterEnum<TTextLayout>("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  RegisterEnum<TPanelBevel>("TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
  RegisterEnum<TBevelKind>("TBevelKind", {"bkNone", "bkTile", "bkSoft", "bkFlat"});
  RegisterEnum<TBevelEdge>("TBevelEdge", {"beLeft", "beTop", "beRight", "beBottom"});
  RegisterEnum<TButtonLayout>("TButtonLayout",
                              {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});

  // The mask character is written as the one-character text users see.
  auto getMask = [](const TCustomEdit* E) {
    return E->GetPasswordChar() ? edittext::Encode(E->GetPasswordChar()) : std::string();
  };
  auto setMask = [](TCustomEdit* E, const std::string& S) {
    E->SetPasswordChar(S.empty() ? 0 : edittext::Decode(S, 0));
  };

  RegisterClass<TCustomEdit>("TCustomEdit", "TCustomControl")
      .Default("TabStop", true)
      .Default("ParentColor", false)
      .Default("Cursor", crIBeam)
      .Prop("Alignment", &TCustomEdit::GetAlignment, &TCustomEdit::SetAlignment, taLeftJustify)
      .Prop("AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect, true)
      .Prop("AutoSize", &TCustomEdit::GetAutoSize, &TCustomEdit::SetAutoSize, true)
      .Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle, bsSingle)
      .Prop("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase, ecNormal)
      .Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection, true)
      .Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength, 0)
      .Prop("PasswordChar", getMask, setMask, std::string())
      .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly, false);
  RegisterClass<TEdit>("TEdit", "TCustomEdit")
      .Prop("Text", &TControl::GetText, &TControl::SetText, std::string());
  RegisterClass<TCustomMemo>("TCustomMemo", "TCustomEdit")
      .Default("AutoSelect", false)
      .Strings("Lines", &TCustomMemo::GetLines)
      .Prop("ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars, ssNone)
      .Prop("WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns, true)
      .Prop("WantTabs", &TCustomMemo::GetWantTabs, &TCustomMemo::SetWantTabs, false)
      .Prop("WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap, true);
  RegisterClass<TMemo>("TMemo", "TCustomMemo");

  RegisterClass<TCustomLabel>("TCustomLabel", "TGraphicControl")
      .Prop("Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment, taLeftJustify)
      .Prop("AutoSize", &TCustomLabel::GetAutoSize, &TCustomLabel::SetAutoSize, true)
      .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption, std::string())
      .Component<TWinControl>("FocusControl", &TCustomLabel::GetFocusControl,
                              &TCustomLabel::SetFocusControl)
      .Prop("Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout, tlTop)
      .Prop("ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
      .Prop("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent, false)
      .Prop("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap, false);
  RegisterClass<TLabel>("TLabel", "TCustomLabel");

  RegisterClass<TCustomPanel>("TCustomPanel", "TCustomControl")
      .Default("Color", clBtnFace)
      .Default("ParentColor", false)
      .Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment, taCenter)
      .Set("BevelEdges", &TCustomPanel::GetBevelEdges, &TCustomPanel::SetBevelEdges,
           TBevelEdges{beLeft, beTop, beRight, beBottom})
      .Prop("BevelKind", &TCustomPanel::GetBevelKind, &TCustomPanel::SetBevelKind, bkNone)
      .Prop("BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner, bvNone)
      .Prop("BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
      .Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth, 1)
      .Prop("BorderStyle", &TCustomPanel::GetBorderStyle, &TCustomPanel::SetBorderStyle, bsNone)
      .Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth, 0)
      .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption, std::string())
      .Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint, true);
  RegisterClass<TPanel>("TPanel", "TCustomPanel");

  RegisterClass<TSpeedButton>("TSpeedButton", "TGraphicControl")
      .Prop("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp, false)
      .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption, std::string())
      .Prop("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex, 0)
      .Prop("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown, false)
      .Prop("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat, false)
      .Prop("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout, blGlyphLeft)
      .Prop("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin, -1)
      .Prop("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs, 1)
      .Prop("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing, 4)
      .Prop("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent, true);
}

}  // namespace qel
