// The widgets' published properties: a form with every widget written to text and read back
// gives the same properties and the same text.
#include <gtest/gtest.h>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class RegistrationTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    RegisterStdWidgetClasses();
    RegisterStdWidgetClasses();  // a second call changes nothing
  }
};

TEST_F(RegistrationTest, FormWithEveryWidgetRoundTripsThroughText) {
  Form->SetName("Root");
  auto* edit = new TEdit(Form);
  edit->SetName("Edit1");
  edit->SetParent(Form);
  edit->SetText("héllo");
  edit->SetMaxLength(9);
  edit->SetPasswordChar(U'•');
  edit->SetReadOnly(true);
  auto* memo = new TMemo(Form);
  memo->SetName("Memo1");
  memo->SetParent(Form);
  memo->GetLines()->Add("first");
  memo->GetLines()->Add("second 'quoted'");
  memo->SetScrollBars(ssBoth);
  memo->SetWordWrap(false);
  auto* panel = new TPanel(Form);
  panel->SetName("Panel1");
  panel->SetParent(Form);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  panel->SetCaption("Group");
  auto* label = new TLabel(Form);
  label->SetName("Label1");
  label->SetParent(panel);
  label->SetCaption("&Value");
  label->SetFocusControl(edit);
  label->SetLayout(tlCenter);
  auto* button = new TSpeedButton(Form);
  button->SetName("Button1");
  button->SetParent(panel);
  button->SetGroupIndex(3);
  button->SetDown(true);
  button->SetFlat(true);
  button->SetLayout(blGlyphTop);

  std::string text = WriteComponentText(Form);
  EXPECT_NE(text.find("PasswordChar"), std::string::npos);
  EXPECT_NE(text.find("FocusControl = Edit1"), std::string::npos);
  EXPECT_EQ(text.find("TabStop"), std::string::npos);  // the edit's default

  auto* copy = CreateFromText<TForm>(text, nullptr);
  std::unique_ptr<TForm> guard(copy);
  auto* e2 = dynamic_cast<TEdit*>(copy->FindComponent("Edit1"));
  auto* m2 = dynamic_cast<TMemo*>(copy->FindComponent("Memo1"));
  auto* p2 = dynamic_cast<TPanel*>(copy->FindComponent("Panel1"));
  auto* l2 = dynamic_cast<TLabel*>(copy->FindComponent("Label1"));
  auto* b2 = dynamic_cast<TSpeedButton*>(copy->FindComponent("Button1"));
  ASSERT_TRUE(e2 && m2 && p2 && l2 && b2);
  EXPECT_EQ(e2->GetText(), "héllo");
  EXPECT_EQ(e2->GetPasswordChar(), U'•');
  EXPECT_EQ(e2->GetMaxLength(), 9);
  EXPECT_TRUE(e2->GetReadOnly());
  EXPECT_EQ(m2->GetLines()->Count(), 2);
  EXPECT_EQ(m2->GetLines()->Get(1), "second 'quoted'");
  EXPECT_EQ(m2->GetScrollBars(), ssBoth);
  EXPECT_EQ(p2->GetBevelInner(), bvLowered);
  EXPECT_EQ(p2->GetCaption(), "Group");
  EXPECT_EQ(l2->GetFocusControl(), e2);
  EXPECT_EQ(l2->GetParent(), p2);
  EXPECT_EQ(l2->GetWidth(), label->GetWidth());  // auto-sized again after loading
  EXPECT_TRUE(b2->GetDown());
  EXPECT_EQ(b2->GetLayout(), blGlyphTop);
  EXPECT_EQ(WriteComponentText(copy), text);
}

TEST_F(RegistrationTest, EveryPropertyReadsBackWhatItWrites) {
  for (const char* cls : {"TEdit", "TMemo", "TLabel", "TPanel", "TSpeedButton"}) {
    const TClassInfo& info = GetClassInfo(cls);
    std::unique_ptr<TComponent> c(info.Create(Form));
    auto* control = dynamic_cast<TControl*>(c.get());
    ASSERT_NE(control, nullptr) << cls;
    control->SetParent(Form);
    for (const TPropInfo* p : info.Properties()) {
      if (p->Kind == pkClass || p->Kind == pkComponent || p->Name == "Name") continue;
      std::string v = GetPropText(c.get(), *p);
      SetPropText(c.get(), *p, v);
      EXPECT_EQ(GetPropText(c.get(), *p), v) << cls << "." << p->Name;
    }
  }
}

}  // namespace
}  // namespace qel::test
