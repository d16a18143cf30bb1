// The displays read from form text: properties set while loading, Loaded starting the scroll
// timer, and a write that round-trips only what differs from the defaults.
#include <gtest/gtest.h>

#include <memory>

#include "displays/QEL_NumLab.h"
#include "displays/QEL_RasterLab.h"
#include "displays/QEL_sevenseg.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"

namespace qel {
namespace {

TEST(DisplaysRegister, FormTextRoundTrip) {
  ResetHeadlessApplication();
  RegisterDisplayClasses();
  RegisterDisplayClasses();  // a second call changes nothing
  std::unique_ptr<TNumLab> n(CreateFromText<TNumLab>(
      "object Lab: TNumLab\n  DisplayType = dtHex\n  Precision = 4\n  Value = 255\n"
      "  RightText = 'V'\nend\n",
      nullptr));
  EXPECT_EQ(n->NumberText(), "00FF");
  const std::string text = WriteComponentText(n.get());
  EXPECT_NE(text.find("DisplayType = dtHex"), std::string::npos);
  EXPECT_EQ(text.find("LabelWidth"), std::string::npos);  // defaults are not written

  std::unique_ptr<TSevenSeg> s(CreateFromText<TSevenSeg>(
      "object Seg: TSevenSeg\n  Caption = '3.14'\n  NumDigits = 3\nend\n", nullptr));
  EXPECT_EQ(s->GetNumDigits(), 3);
  EXPECT_EQ(s->Cache()->GetWidth(), 21 * s->CellWidth());

  std::unique_ptr<TRasterLab> r(CreateFromText<TRasterLab>(
      "object Ras: TRasterLab\n  ScrollMode = rdsmLeft\n  DotSize = 2\n  AutoHeight = True\n"
      "end\n",
      nullptr));
  EXPECT_EQ(r->GetHeight(), 1 + 3 * 12);
  EXPECT_TRUE(r->TimerRunning());  // started by Loaded, not while reading
  Application->AdvanceTime(100);
  EXPECT_EQ(r->HorzOffset(), -1);
  r.reset();
  EXPECT_EQ(Application->TimerCount(), 0);  // the destructor stops it
}

}  // namespace
}  // namespace qel
