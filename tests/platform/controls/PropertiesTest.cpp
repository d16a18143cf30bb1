// The class registry: declared defaults agree with the constructors, every property survives
// its own text, bad texts are refused without a change, and registration is idempotent.
#include <cmath>

#include "TestClasses.h"

namespace qel::test {
namespace {

using PropertiesTest = FormsTest;

// Compares each property with a default against a fresh instance, nested objects included.
void ExpectDefaultsHold(const TPersistent* Obj, const TClassInfo& Info, const std::string& Prefix) {
  for (const TPropInfo* p : Info.Properties()) {
    if (p->Kind == pkClass) {
      const TPersistent* nested = p->GetObject(Obj);
      ASSERT_NE(nested, nullptr) << Prefix << p->Name;
      const TClassInfo* ni = ClassInfoOf(nested);
      ASSERT_NE(ni, nullptr) << Prefix << p->Name;
      ExpectDefaultsHold(nested, *ni, Prefix + p->Name + ".");
      continue;
    }
    if (!p->HasDefault) continue;
    EXPECT_TRUE(p->IsDefault(Obj)) << Info.Name << ": " << Prefix << p->Name << " is "
                                   << GetPropText(Obj, *p) << " after construction";
  }
}

TEST_F(PropertiesTest, DeclaredDefaultsMatchWhatConstructorsSet) {
  int checked = 0;
  for (const TClassInfo* info : RegisteredClasses()) {
    if (!info->Create) continue;
    std::unique_ptr<TComponent> obj(info->Create(nullptr));
    ExpectDefaultsHold(obj.get(), *info, "");
    ++checked;
  }
  EXPECT_GE(checked, 8);
  // The nested-only classes too.
  TFont font;
  ExpectDefaultsHold(&font, GetClassInfo("TFont"), "");
  TPen pen;
  ExpectDefaultsHold(&pen, GetClassInfo("TPen"), "");
  TBrush brush;
  ExpectDefaultsHold(&brush, GetClassInfo("TBrush"), "");
}

TEST_F(PropertiesTest, RegistrationIsIdempotentAndKeepsDescriptors) {
  const TClassInfo& control = GetClassInfo("TControl");
  const TPropInfo* left = control.FindProperty("Left");
  size_t count = control.Properties().size();
  RegisterPlatformClasses();
  RegisterTestClasses();
  EXPECT_EQ(&GetClassInfo("TControl"), &control);
  EXPECT_EQ(control.FindProperty("Left"), left);
  EXPECT_EQ(control.Properties().size(), count);
}

TEST_F(PropertiesTest, PlatformClassesPublishTheirProperties) {
  auto names = [](const char* cls) {
    std::vector<std::string> list;
    for (const TPropInfo* p : GetClassInfo(cls).Properties()) list.push_back(p->Name);
    return list;
  };
  auto form = names("TForm");
  for (const char* n :
       {"Name",        "Tag",         "Left",           "Top",         "Width",      "Height",
        "Visible",     "Enabled",     "Color",          "ParentColor", "Font",       "ParentFont",
        "Hint",        "ShowHint",    "ParentShowHint", "Cursor",      "Align",      "Anchors",
        "TabStop",     "TabOrder",    "Caption",        "BorderStyle", "KeyPreview", "Position",
        "ClientWidth", "ClientHeight"})
    EXPECT_NE(std::find(form.begin(), form.end(), n), form.end()) << n;
  auto font = names("TFont");
  for (const char* n :
       {"Name", "Size", "Color", "Style", "Orientation", "Pitch", "Quality", "Charset"})
    EXPECT_NE(std::find(font.begin(), font.end(), n), font.end()) << n;
  EXPECT_EQ(GetClassInfo("TPen").Properties().size(), 4u);
  EXPECT_EQ(GetClassInfo("TBrush").Properties().size(), 2u);
  // A derived class's default replaces the inherited one only in that class.
  EXPECT_EQ(GetClassInfo("TForm").FindProperty("Color")->OrdDefault,
            static_cast<int64_t>(clBtnFace));
  EXPECT_EQ(GetClassInfo("TControl").FindProperty("Color")->OrdDefault,
            static_cast<int64_t>(clWindow));
  EXPECT_EQ(FindClassInfo("tform"), &GetClassInfo("TForm"));
  EXPECT_THROW(GetClassInfo("TNoSuchThing"), EClassNotFound);
}

TEST_F(PropertiesTest, UnregisteredSubclassUsesNearestRegisteredClass) {
  class TMyForm : public TForm {
   public:
    using TForm::TForm;
  };
  TMyForm form(nullptr);
  EXPECT_EQ(ClassInfoOf(&form), &GetClassInfo("TForm"));
  TKinds kinds(nullptr);
  EXPECT_EQ(ClassInfoOf(&kinds), &GetClassInfo("TKinds"));
}

TEST_F(PropertiesTest, EveryPropertySurvivesItsOwnText) {
  TKinds k(nullptr);
  k.SetValue(-1.25e-7);
  k.SetBig(std::numeric_limits<int64_t>::min());
  k.SetSmall(-32768);
  k.SetMood(tmAngry);
  k.SetMoods({tmCalm, tmAngry});
  k.SetShade(0x00123456);
  k.SetNote("a\nb 'c' ü");
  k.GetLines()->Add("one");
  k.GetLines()->Add("two");
  k.SetCursor(crHandPoint);
  for (const TPropInfo* p : ClassInfoOf(&k)->Properties()) {
    if (p->Kind == pkClass || p->Kind == pkComponent) continue;
    std::string before = GetPropText(&k, *p);
    SetPropText(&k, *p, before);
    EXPECT_EQ(GetPropText(&k, *p), before) << p->Name;
  }
  const TClassInfo& info = *ClassInfoOf(&k);
  EXPECT_EQ(GetPropText(&k, *info.FindProperty("Moods")), "[tmCalm, tmAngry]");
  EXPECT_EQ(GetPropText(&k, *info.FindProperty("Shade")), "$00123456");
  EXPECT_EQ(GetPropText(&k, *info.FindProperty("Cursor")), "crHandPoint");
  EXPECT_EQ(GetPropText(&k, *info.FindProperty("Lines")), "one\ntwo");
}

TEST_F(PropertiesTest, TextsAreParsedAsPeopleWriteThem) {
  TKinds k(nullptr);
  const TClassInfo& info = *ClassInfoOf(&k);
  SetPropText(&k, *info.FindProperty("Shade"), "clRed");
  EXPECT_EQ(k.GetShade(), clRed);
  SetPropText(&k, *info.FindProperty("Shade"), " $00FF00 ");
  EXPECT_EQ(k.GetShade(), 0x00FF00u);
  SetPropText(&k, *info.FindProperty("Moods"), "tmbusy ,TMCALM");
  EXPECT_EQ(k.GetMoods(), (TTestMoods{tmCalm, tmBusy}));
  SetPropText(&k, *info.FindProperty("Moods"), "[]");
  EXPECT_TRUE(k.GetMoods().Empty());
  SetPropText(&k, *info.FindProperty("Small"), "-$10");
  EXPECT_EQ(k.GetSmall(), -16);
  SetPropText(&k, *info.FindProperty("Value"), "INF");
  EXPECT_TRUE(std::isinf(k.GetValue()));
  SetPropText(&k, *info.FindProperty("Flag"), "true");
  EXPECT_TRUE(k.GetFlag());
}

TEST_F(PropertiesTest, BadTextsRaiseAndLeaveTheValue) {
  TKinds k(nullptr);
  k.SetSmall(5);
  k.SetMood(tmBusy);
  const TClassInfo& info = *ClassInfoOf(&k);
  struct Case {
    const char* Prop;
    const char* Text;
    const char* Message;
  } cases[] = {
      {"Small", "70000", "Value 70000 out of range for Small (-32768..32767)"},
      {"Small", "12x", "Invalid property value for Small: 12x"},
      {"Mood", "tmSleepy", "Invalid property value for Mood: tmSleepy"},
      {"Moods", "[tmCalm,,tmBusy]", "Invalid property value for Moods: [tmCalm,,tmBusy]"},
      {"Shade", "clNoSuchColour", "Invalid property value for Shade: clNoSuchColour"},
      {"Flag", "yes", "Invalid property value for Flag: yes"},
      {"Value", "1.5.2", "Invalid property value for Value: 1.5.2"},
      {"Buddy", "Nobody", "Invalid property value for Buddy: Nobody"},
  };
  for (const auto& c : cases) {
    std::string before = GetPropText(&k, *info.FindProperty(c.Prop));
    try {
      SetPropText(&k, *info.FindProperty(c.Prop), c.Text);
      ADD_FAILURE() << c.Prop << " accepted " << c.Text;
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message, c.Message);
    }
    EXPECT_EQ(GetPropText(&k, *info.FindProperty(c.Prop)), before) << c.Prop;
  }
  EXPECT_THROW(SetPropText(&k, *info.FindProperty("Pen"), "x"), EPropertyError);
}

TEST_F(PropertiesTest, DottedPathsReachNestedObjects) {
  TKinds k(nullptr);
  TPropTarget t = ResolvePropPath(&k, "Pen.Color");
  EXPECT_EQ(t.Object, k.GetPen());
  SetPropText(t.Object, *t.Prop, "clBlue");
  EXPECT_EQ(k.GetPen()->GetColor(), clBlue);
  t = ResolvePropPath(&k, "font.size");
  SetPropText(t.Object, *t.Prop, "12");
  EXPECT_EQ(k.GetFont()->GetSize(), 12);
  try {
    ResolvePropPath(&k, "Pen.Thickness");
    ADD_FAILURE();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message, "Property Pen.Thickness does not exist in TPen");
  }
  EXPECT_THROW(ResolvePropPath(&k, "Left.X"), EPropertyError);
}

TEST_F(PropertiesTest, ComponentReferencesResolveAmongTheOwnersComponents) {
  TForm form(nullptr);
  auto* a = new TKinds(&form);
  a->SetName("A");
  auto* b = new TKinds(&form);
  b->SetName("B");
  const TPropInfo& buddy = *ClassInfoOf(a)->FindProperty("Buddy");
  SetPropText(a, buddy, "b");
  EXPECT_EQ(a->GetBuddy(), b);
  EXPECT_EQ(GetPropText(a, buddy), "B");
  delete b;  // the reference must not dangle
  EXPECT_EQ(a->GetBuddy(), nullptr);
  EXPECT_EQ(GetPropText(a, buddy), "");
}

TEST_F(PropertiesTest, FloatTextIsShortestAndExact) {
  for (double v : {0.1, 12.5, -1e-300, 1e300, 5e-324, -0.0, 123456789.125}) {
    double back = 0;
    ASSERT_TRUE(PropTextToFloat(FloatToPropText(v), back)) << FloatToPropText(v);
    EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << FloatToPropText(v);
  }
  EXPECT_EQ(FloatToPropText(12.5), "12.5");
  EXPECT_EQ(FloatToPropText(1e20), "1E+20");
  double nan = 0;
  EXPECT_TRUE(PropTextToFloat(FloatToPropText(std::nan("")), nan));
  EXPECT_TRUE(std::isnan(nan));
  double x;
  EXPECT_FALSE(PropTextToFloat("", x));
  EXPECT_FALSE(PropTextToFloat("1e", x));
  EXPECT_FALSE(PropTextToFloat("+", x));
}

}  // namespace
}  // namespace qel::test
