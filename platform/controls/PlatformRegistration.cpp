// Published properties of the platform's own classes: components, controls, forms, fonts, pens
// and brushes, with the identifier tables of cursors and character sets.
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"

namespace qel {

const TIdentMap& CursorIdents() {
  static const TIdentMap map{
      {{"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
       {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
       {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
       {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
       {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
       {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
       {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
       {"crSizeAll", crSizeAll}}};
  return map;
}

namespace {
const TIdentMap& CharsetIdents() {
  static const TIdentMap map{{{"ANSI_CHARSET", 0},
                              {"DEFAULT_CHARSET", 1},
                              {"SYMBOL_CHARSET", 2},
                              {"MAC_CHARSET", 77},
                              {"SHIFTJIS_CHARSET", 128},
                              {"HANGEUL_CHARSET", 129},
                              {"GB2312_CHARSET", 134},
                              {"CHINESEBIG5_CHARSET", 136},
                              {"GREEK_CHARSET", 161},
                              {"TURKISH_CHARSET", 162},
                              {"HEBREW_CHARSET", 177},
                              {"ARABIC_CHARSET", 178},
                              {"BALTIC_CHARSET", 186},
                              {"RUSSIAN_CHARSET", 204},
                              {"THAI_CHARSET", 222},
                              {"EASTEUROPE_CHARSET", 238},
                              {"OEM_CHARSET", 255}}};
  return map;
}
}  // namespace

void RegisterPlatformClasses() {
  RegisterEnum<TAlign>(
      "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
  RegisterEnum<TAnchorKind>("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
  RegisterEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  RegisterEnum<TFormBorderStyle>("TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable",
                                                      "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  RegisterEnum<TPosition>(
      "TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
  RegisterEnum<TFontStyle>("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  RegisterEnum<TFontPitch>("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
  RegisterEnum<TFontQuality>(
      "TFontQuality", {"fqDefault", "fqDraft", "fqProof", "fqNonAntialiased", "fqAntialiased",
                       "fqClearType", "fqClearTypeNatural"});
  RegisterEnum<TPenStyle>("TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                        "psClear", "psInsideFrame"});
  RegisterEnum<TPenMode>(
      "TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                   "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
                   "pmMask", "pmNotMask", "pmXor", "pmNotXor"});
  RegisterEnum<TBrushStyle>("TBrushStyle",
                            {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                             "bsBDiagonal", "bsCross", "bsDiagCross"});

  RegisterClass<TPersistent>("TPersistent", "");
  // Height is what is stored (exact); Size is the same value in points for people and panels.
  RegisterClass<TFont>("TFont", "TPersistent")
      .Prop("Charset", &TFont::GetCharset, &TFont::SetCharset, 1)
      .Idents(CharsetIdents())
      .Color("Color", &TFont::GetColor, &TFont::SetColor, clWindowText)
      .Prop("Height", &TFont::GetHeight, &TFont::SetHeight, -11)
      .Prop("Name", &TFont::GetName, &TFont::SetName, std::string("MS Sans Serif"))
      .Prop("Orientation", &TFont::GetOrientation, &TFont::SetOrientation, 0)
      .Enum("Pitch", &TFont::GetPitch, &TFont::SetPitch, fpDefault)
      .Enum("Quality", &TFont::GetQuality, &TFont::SetQuality, fqDefault)
      .Prop("Size", &TFont::GetSize, &TFont::SetSize, 8)
      .Stored([](const TFont*) { return false; })
      .Set("Style", &TFont::GetStyle, &TFont::SetStyle, TFontStyles{});
  RegisterClass<TPen>("TPen", "TPersistent")
      .Color("Color", &TPen::GetColor, &TPen::SetColor, clBlack)
      .Enum("Mode", &TPen::GetMode, &TPen::SetMode, pmCopy)
      .Enum("Style", &TPen::GetStyle, &TPen::SetStyle, psSolid)
      .Prop("Width", &TPen::GetWidth, &TPen::SetWidth, 1);
  // Colour before style: setting a colour makes a clear brush solid.
  RegisterClass<TBrush>("TBrush", "TPersistent")
      .Color("Color", &TBrush::GetColor, &TBrush::SetColor, clWhite)
      .Enum("Style", &TBrush::GetStyle, &TBrush::SetStyle, bsSolid);

  // The name is the object's header in a form file, never a property line.
  RegisterClass<TComponent>("TComponent", "TPersistent")
      .Prop("Name", &TComponent::GetName, &TComponent::SetName, std::string())
      .Stored([](const TComponent*) { return false; })
      .Prop("Tag", &TComponent::GetTag, &TComponent::SetTag, 0);
  // Order matters when reading: Color clears ParentColor and a font change clears ParentFont,
  // so the Parent* flags come after what they override.
  RegisterClass<TControl>("TControl", "TComponent")
      .PropNoDefault("Left", &TControl::GetLeft, &TControl::SetLeft)
      .Range(-kMaxControlCoord, kMaxControlCoord)
      .PropNoDefault("Top", &TControl::GetTop, &TControl::SetTop)
      .Range(-kMaxControlCoord, kMaxControlCoord)
      .PropNoDefault("Width", &TControl::GetWidth, &TControl::SetWidth)
      .Range(0, kMaxControlCoord)
      .PropNoDefault("Height", &TControl::GetHeight, &TControl::SetHeight)
      .Range(0, kMaxControlCoord)
      .Enum("Align", &TControl::GetAlign, &TControl::SetAlign, alNone)
      .Set("Anchors", &TControl::GetAnchors, &TControl::SetAnchors, TAnchors{akLeft, akTop})
      .Color("Color", &TControl::GetColor, &TControl::SetColor, clWindow)
      .Stored([](const TControl* C) { return !C->GetParentColor(); })
      .Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor, crDefault)
      .Idents(CursorIdents())
      .Prop("Enabled", &TControl::GetEnabled, &TControl::SetEnabled, true)
      .Object("Font", &TControl::GetFont)
      .Stored([](const TControl* C) { return !C->GetParentFont(); })
      .Prop("Hint", &TControl::GetHint, &TControl::SetHint, std::string())
      .Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor, true)
      .Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont, true)
      .Prop("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint, false)
      .Stored([](const TControl* C) { return !C->GetParentShowHint(); })
      .Prop("ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint, true)
      .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible, true);
  // A top-level control has no place in a tab order.
  RegisterClass<TWinControl>("TWinControl", "TControl")
      .PropNoDefault("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
      .Stored([](const TWinControl* C) { return C->GetParent() != nullptr; })
      .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop, false);
  RegisterClass<TGraphicControl>("TGraphicControl", "TControl");
  RegisterClass<TCustomControl>("TCustomControl", "TWinControl");
  // A form stores its client size: its size is the native window's business.
  RegisterClass<TForm>("TForm", "TWinControl")
      .Inherit("Width")
      .Stored([](const TForm*) { return false; })
      .Inherit("Height")
      .Stored([](const TForm*) { return false; })
      .Default("Color", clBtnFace)
      .Default("ParentColor", false)
      .Default("ParentFont", false)
      .Default("Visible", false)
      .Prop("BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle, bsSizeable)
      .Prop("Caption", &TForm::GetCaption, &TForm::SetCaption, std::string())
      .PropNoDefault("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
      .Range(0, kMaxControlCoord)
      .PropNoDefault("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
      .Range(0, kMaxControlCoord)
      .Prop("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview, false)
      .Enum("Position", &TForm::GetPosition, &TForm::SetPosition, poDesigned);
}

}  // namespace qel
