// One sweep over every registered class, platform and components: the declared default of each
// published property is what a fresh instance has (a wrong one silently loses that value in form
// files), every value's text reads back to the same value, and a form file of each class, with
// defaults and with other values, writes the same text after a read. New classes join by being
// registered below; no test lists constructor defaults one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "displays/QEL_NumLab.h"
#include "displays/QEL_RotLab.h"
#include "frame/QEL_frame_register.h"
#include "indicators/QEL_ProgBar.h"
#include "indicators/QEL_gradfl.h"
#include "indicators/QEL_onoffbut.h"
#include "indicators/QEL_repsbut.h"
#include "meter/QEL_Meter.h"
#include "minical/QEL_MiniCal.h"
#include "ntabed/QEL_ntabed.h"
#include "numio/QEL_NumIO.h"
#include "numio/QEL_NumIO2.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/StrUtils.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"
#include "replist/QEL_replist.h"
#include "selectors/QEL_Colbut.h"
#include "selectors/QEL_Colsel.h"
#include "selectors/QEL_FolderTree.h"
#include "selectors/QEL_Thumbnails.h"
#include "selectors/QEL_marksel.h"

namespace qel {
namespace {

void RegisterEverything() {
  RegisterPlatformClasses();
  RegisterStdWidgetClasses();
  RegisterMenuAndComboClasses();
  RegisterMaskClasses();
  RegisterDateTimeClasses();
  RegisterTreeViewClasses();
  RegisterDialogClasses();
  RegisterGridClasses();
  RegisterFrameEnums();
  RegisterNumIOClasses();
  RegisterDisplayClasses();
  RegisterRotLabClasses();
  RegisterMeterClasses();
  RegisterMiniCalClasses();
  RegisterOnOffButClasses();
  RegisterColSelClasses();
  RegisterColorButtonClasses();
  RegisterMarkSelClasses();
  RegisterThumbnailsClasses();
  RegisterFolderTreeClasses();
  RegisterProgBarClasses();
  RegisterGradFillClasses();
  RegisterRepSpeedButtonClasses();
  RegisterNumIOEditClasses();
  RegisterNTabEdClasses();
  RegisterRepListClasses();
}

class RegistrySweep : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    RegisterEverything();
  }
  void TearDown() override { ResetHeadlessApplication(); }

  // Every registered class that can be created, each on a form of its own (forms stand alone),
  // named "Probe" when Named (a name becomes the caption of a control that has one).
  template <class F>
  void ForEachClass(F Check, bool Named = true) {
    for (const TClassInfo* info : RegisteredClasses()) {
      if (!info->Create) continue;
      SCOPED_TRACE(info->Name);
      const bool isForm = info->Name == "TForm" || info->InheritsFrom(FindClassInfo("TForm"));
      auto host = std::make_unique<TForm>(nullptr);
      host->SetName("Host");
      std::unique_ptr<TComponent> alone;
      TComponent* c = nullptr;
      if (isForm) {
        alone.reset(info->Create(nullptr));
        c = alone.get();
      } else {
        c = info->Create(host.get());
        if (auto* ctl = dynamic_cast<TControl*>(c)) ctl->SetParent(host.get());
      }
      if (Named) c->SetName("Probe");
      Check(*info, c, isForm ? c : static_cast<TComponent*>(host.get()));
    }
  }
};

// Where a property's value differs from its declared default. Nested objects (Font) are written
// against the same object of a new instance, so their declared defaults cannot lose a value;
// NestedValuesEqualToTheirClassDefaultsSurvive checks that.
void CollectWrongDefaults(const TPersistent* Obj, const TClassInfo& Info,
                          std::vector<std::string>& Wrong) {
  for (const TPropInfo* p : Info.Properties())
    if (p->Kind != pkClass && p->HasDefault && p->IsStored(Obj) && !p->IsDefault(Obj))
      Wrong.push_back(p->Name + " = " + GetPropText(Obj, *p));
}

// Reads every value's text back into the property and expects the same text again.
void ExpectTextsReadBack(TPersistent* Obj, const TClassInfo& Info, const std::string& Where) {
  for (const TPropInfo* p : Info.Properties()) {
    if (p->Kind == pkClass) {
      TPersistent* nested = p->GetObject(Obj);
      if (const TClassInfo* ni = nested ? ClassInfoOf(nested) : nullptr)
        ExpectTextsReadBack(nested, *ni, Where + p->Name + ".");
      continue;
    }
    if (p->Kind == pkComponent) continue;  // names resolve only within a form file
    const std::string text = GetPropText(Obj, *p);
    EXPECT_NO_THROW(SetPropText(Obj, *p, text)) << Where << p->Name << " = " << text;
    EXPECT_EQ(GetPropText(Obj, *p), text) << Where << p->Name;
  }
}

// A value other than the default for every property that takes one (the setters may refuse or
// clamp: whatever they keep is what the form file must carry).
void TryOtherValues(TPersistent* Obj, const TClassInfo& Info, int Seed) {
  for (const TPropInfo* p : Info.Properties()) {
    if (SameText(p->Name, "Name") || SameText(p->Name, "Parent")) continue;
    try {
      switch (p->Kind) {
        case pkInteger:
          p->SetOrd(Obj, std::clamp<int64_t>(p->OrdDefault + 3 + Seed, p->MinValue, p->MaxValue));
          break;
        case pkFloat:
          p->SetFloat(Obj, p->FloatDefault + 2.5);
          break;
        case pkBool:
          p->SetOrd(Obj, p->OrdDefault ? 0 : 1);
          break;
        case pkString:
          p->SetStr(Obj, "it's \xC3\xBC " + std::to_string(Seed));
          break;
        case pkColor:
          p->SetOrd(Obj, p->OrdDefault == clRed ? clLime : clRed);
          break;
        case pkEnum:
          p->SetOrd(Obj, (p->OrdDefault + 1) % static_cast<int64_t>(p->Enum->Names.size()));
          break;
        case pkSet:
          p->SetOrd(Obj, p->OrdDefault ^ 1);
          break;
        case pkClass:
          if (TPersistent* nested = p->GetObject(Obj))
            if (const TClassInfo* ni = ClassInfoOf(nested)) TryOtherValues(nested, *ni, Seed);
          break;
        case pkStrings:
          p->SetLines(Obj, {"alpha", "it's", ""});
          break;
        case pkComponent:
          break;
      }
    } catch (const std::exception&) {
      // Refused: the property keeps a value it accepts.
    }
  }
}

void ExpectFormRoundTrip(TComponent* Root, const std::string& What) {
  const std::string text = WriteComponentText(Root);
  std::unique_ptr<TComponent> copy;
  try {
    copy.reset(CreateComponentFromText(text, nullptr));
  } catch (const std::exception& e) {
    ADD_FAILURE() << What << ": the written form does not read back: " << e.what() << "\n" << text;
    return;
  }
  EXPECT_EQ(WriteComponentText(copy.get()), text) << What;
}

TEST_F(RegistrySweep, DeclaredDefaultsAreWhatAFreshInstanceHas) {
  ForEachClass([](const TClassInfo& Info, TComponent* C, TComponent*) {
    std::vector<std::string> wrong;
    CollectWrongDefaults(C, Info, wrong);
    for (const std::string& w : wrong) ADD_FAILURE() << Info.Name << "." << w;
  }, false);
}

TEST_F(RegistrySweep, EveryValueTextReadsBack) {
  ForEachClass([](const TClassInfo& Info, TComponent* C, TComponent*) {
    ExpectTextsReadBack(C, Info, Info.Name + ".");
  });
}

TEST_F(RegistrySweep, FormFilesRoundTripWithDefaultsAndOtherValues) {
  int seed = 0;
  ForEachClass([&seed](const TClassInfo& Info, TComponent* C, TComponent* Root) {
    ExpectFormRoundTrip(Root, Info.Name + " with defaults");
    TryOtherValues(C, Info, ++seed);
    ExpectFormRoundTrip(Root, Info.Name + " with other values");
  });
}

// A component may give a nested object other values than the object's class does (a label's font
// "Arial" where a font says "MS Sans Serif"): setting the class's value must still be written.
TEST_F(RegistrySweep, NestedValuesEqualToTheirClassDefaultsSurvive) {
  ForEachClass([](const TClassInfo& Info, TComponent* C, TComponent* Root) {
    for (const TPropInfo* p : Info.Properties()) {
      if (p->Kind != pkClass) continue;
      TPersistent* nested = p->GetObject(C);
      const TClassInfo* ni = nested ? ClassInfoOf(nested) : nullptr;
      if (!ni) continue;
      for (const TPropInfo* q : ni->Properties()) {
        if (!q->HasDefault || q->Kind == pkClass || q->IsDefault(nested)) continue;
        try {
          if (q->Kind == pkFloat)
            q->SetFloat(nested, q->FloatDefault);
          else if (q->Kind == pkString)
            q->SetStr(nested, q->StrDefault);
          else
            q->SetOrd(nested, q->OrdDefault);
        } catch (const std::exception&) {
          continue;
        }
        const std::string text = GetPropText(nested, *q);
        std::unique_ptr<TComponent> copy(CreateComponentFromText(WriteComponentText(Root), nullptr));
        TComponent* back = copy->GetName() == C->GetName() ? copy.get()
                                                          : copy->FindComponent(C->GetName());
        ASSERT_NE(back, nullptr) << Info.Name;
        EXPECT_EQ(GetPropText(p->GetObject(back), *q), text)
            << Info.Name << "." << p->Name << "." << q->Name;
      }
    }
  });
}

}  // namespace
}  // namespace qel
