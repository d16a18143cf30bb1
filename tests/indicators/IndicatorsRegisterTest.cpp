// The published properties of the progress bar and the gradient fill: every default matches a
// fresh instance, and values set through the registry reach the setters' ranges.
#include <gtest/gtest.h>

#include "indicators/QEL_ProgBar.h"
#include "indicators/QEL_gradfl.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Properties.h"

namespace qel {
namespace {

template <class T>
void ExpectDefaultsOfAFreshInstance(const char* Name) {
  const TClassInfo* info = FindClassInfo(Name);
  ASSERT_NE(info, nullptr) << Name;
  T t(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&t)) continue;
    EXPECT_TRUE(p->IsDefault(&t)) << Name << "." << p->Name;
  }
}

TEST(IndicatorsRegister, DefaultsAndRangesThroughTheRegistry) {
  ResetHeadlessApplication();
  RegisterProgBarClasses();
  RegisterProgBarClasses();  // twice changes nothing
  RegisterGradFillClasses();
  ExpectDefaultsOfAFreshInstance<TProgBar>("TProgBar");
  ExpectDefaultsOfAFreshInstance<TGradFill>("TGradFill");
  TProgBar p(nullptr);
  const TClassInfo* info = FindClassInfo("TProgBar");
  SetPropText(&p, *info->FindProperty("ColorMapMode"), "cgmCover");
  EXPECT_EQ(p.GetColorMapMode(), cgmCover);
  SetPropText(&p, *info->FindProperty("TextDecPlaces"), "15");
  EXPECT_EQ(p.GetTextDecPlaces(), 10);
  EXPECT_EQ(GetPropText(&p, *info->FindProperty("Direction")), "drRight");
  TGradFill g(nullptr);
  info = FindClassInfo("TGradFill");
  SetPropText(&g, *info->FindProperty("NrColors"), "300");
  EXPECT_EQ(g.GetNrColors(), 255);
  SetPropText(&g, *info->FindProperty("FillType"), "gtMidBandVert");
  EXPECT_EQ(g.GetFillType(), gtMidBandVert);
}

}  // namespace
}  // namespace qel
