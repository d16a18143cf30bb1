// Colours, their names, and the pen, brush and font objects.
#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"

namespace qel {
namespace {

TEST(Color, SystemColoursResolveThroughTheTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(160, 160, 160));
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(cl3DDkShadow), RGB(105, 105, 105));
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(0, 120, 215));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
  EXPECT_EQ(ColorToRGB(0x80000019), clBlack);  // the unused index
  EXPECT_EQ(ColorToRGB(0x800000FF), clBlack);  // beyond the table
  EXPECT_EQ(ColorToRGB(clNone), clBlack);
  EXPECT_EQ(ColorToRGB(clDefault), clBlack);
  EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);
  EXPECT_EQ(ColorToPixel(clRed), 0x00FF0000u);
  EXPECT_EQ(PixelToColor(0x00FF0000), clRed);
}

TEST(Color, NamesRoundTripAndNumbersAreWrittenInHex) {
  const TColor named[] = {clBlack,   clRed,       clMoneyGreen,
                          clCream,   clNone,      clDefault,
                          clBtnFace, clScrollBar, clGradientInactiveCaption,
                          cl3DLight};
  for (TColor c : named) {
    std::string s = ColorToString(c);
    EXPECT_EQ(s.rfind("cl", 0), 0u) << s;
    EXPECT_EQ(StringToColor(s), c) << s;
  }
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x00FF8040), "$00FF8040");
  EXPECT_EQ(ColorToString(0x80000019), "$80000019");
  EXPECT_EQ(StringToColor("$00FF8040"), 0x00FF8040u);
  EXPECT_EQ(StringToColor("CLRED"), clRed);
  EXPECT_EQ(StringToColor("16711680"), clBlue);
  EXPECT_EQ(StringToColor("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(StringToColor("0x10"), 16u);
  std::string ident;
  EXPECT_FALSE(ColorToIdent(0x123456, ident));
  EXPECT_TRUE(ColorToIdent(clWindow, ident));
  EXPECT_EQ(ident, "clWindow");
  TColor c = 7;
  EXPECT_FALSE(IdentToColor("clNoSuchColour", c));
  EXPECT_EQ(c, 7u);
}

TEST(Color, BadTextRaisesConvertError) {
  for (const char* bad : {"", "cl", "red", "$", "$1G", "12x", "$100000000", "4294967296", "--1"}) {
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
  }
  try {
    StringToColor("blue-ish");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'blue-ish' is not a valid integer value");
  }
}

TEST(GraphicsObjects, SettersAnnounceRealChangesOnly) {
  TPen pen;
  int changes = 0;
  pen.OnChange = [&](TObject* s) {
    EXPECT_EQ(s, &pen);
    ++changes;
  };
  pen.SetColor(clRed);
  pen.SetColor(clRed);
  pen.SetWidth(0);  // below 1 counts as 1, which it already is
  pen.SetWidth(3);
  pen.SetStyle(psDot);
  pen.SetMode(pmXor);
  pen.SetMode(pmXor);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(pen.GetWidth(), 3);

  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clWhite);  // colouring a clear brush makes it solid
  EXPECT_EQ(brush.GetStyle(), bsSolid);
}

TEST(GraphicsObjects, AssignCopiesAndRefusesStrangers) {
  TPen a, b;
  a.SetColor(clBlue);
  a.SetWidth(4);
  a.SetStyle(psDash);
  a.SetMode(pmNotXor);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(b.GetColor(), clBlue);
  EXPECT_EQ(b.GetWidth(), 4);
  EXPECT_EQ(b.GetStyle(), psDash);
  EXPECT_EQ(b.GetMode(), pmNotXor);
  EXPECT_EQ(changes, 1);
  TBrush brush;
  EXPECT_THROW(b.Assign(&brush), EConvertError);
  TFont f, g;
  f.SetName("Arial");
  f.SetSize(12);
  f.SetStyle({fsBold, fsItalic});
  f.SetOrientation(900);
  g.Assign(&f);
  EXPECT_TRUE(g.SameAs(f));
  g.SetQuality(fqNonAntialiased);
  EXPECT_FALSE(g.SameAs(f));
}

TEST(GraphicsObjects, FontSizeAndHeightFollowEachOther) {
  TFont f;
  EXPECT_EQ(f.GetSize(), 8);
  EXPECT_EQ(f.GetHeight(), -11);
  f.SetSize(10);
  EXPECT_EQ(f.GetHeight(), -13);
  f.SetSize(12);
  EXPECT_EQ(f.GetHeight(), -16);
  f.SetHeight(-21);
  EXPECT_EQ(f.GetSize(), 16);
  f.SetHeight(20);  // a positive height is the cell height: the size reads negative
  EXPECT_EQ(f.GetSize(), -15);
  f.SetName("");
  EXPECT_EQ(f.GetName(), "MS Sans Serif");
}

}  // namespace
}  // namespace qel
