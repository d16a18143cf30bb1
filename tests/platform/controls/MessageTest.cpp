// Message dispatch, broadcast, property notifications and the packing helpers.
#include "Probes.h"

namespace qel::test {
namespace {

using MessageTest = ControlsTest;

// Records the messages its typed handlers and its default handler see.
class TListener : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<UINT> Seen;
  LRESULT Answer = 0;
  UINT AnswerTo = 0;

 protected:
  void CMTextChanged(TMessage& M) override {
    Seen.push_back(M.Msg);
    TWinControl::CMTextChanged(M);
  }
  void CMColorChanged(TMessage& M) override {
    Seen.push_back(M.Msg);
    TWinControl::CMColorChanged(M);
  }
  void CMEnabledChanged(TMessage& M) override {
    Seen.push_back(M.Msg);
    TWinControl::CMEnabledChanged(M);
  }
  void DefaultHandler(TMessage& M) override {
    Seen.push_back(M.Msg);
    if (M.Msg == AnswerTo) M.Result = Answer;
  }
};

TEST_F(MessageTest, PerformReachesTypedHandlersAndUnknownMessagesTheDefaultHandler) {
  TListener l(nullptr);
  l.SetText("abc");
  l.SetText("abc");  // unchanged: no second notice
  l.SetColor(clRed);
  l.SetEnabled(false);
  l.AnswerTo = WM_USER + 7;
  l.Answer = 42;
  EXPECT_EQ(l.Perform(WM_USER + 7, 1, 2), 42);
  EXPECT_EQ(l.Seen,
            (std::vector<UINT>{CM_TEXTCHANGED, CM_COLORCHANGED, CM_ENABLEDCHANGED, WM_USER + 7}));
  EXPECT_EQ(l.GetCaption(), "abc");
}

TEST_F(MessageTest, BroadcastStopsAtTheFirstChildThatAnswers) {
  TWinControl parent(nullptr);
  auto* a = new TListener(&parent);
  auto* b = new TListener(&parent);
  auto* c = new TListener(&parent);
  for (auto* l : {a, b, c}) {
    l->SetParent(&parent);
    l->AnswerTo = CM_BUTTONPRESSED;
  }
  b->Answer = 1;
  TMessage m{CM_BUTTONPRESSED, 3, 0, 0};
  parent.Broadcast(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(a->Seen.size(), 1u);
  EXPECT_EQ(b->Seen.size(), 1u);
  EXPECT_TRUE(c->Seen.empty());
  // NotifyControls reaches everyone whatever they answer.
  parent.NotifyControls(CM_BUTTONPRESSED);
  EXPECT_EQ(c->Seen.size(), 1u);
}

TEST_F(MessageTest, ParentFontAndColorFlowDownUntilAChildSetsItsOwn) {
  TWinControl parent(nullptr);
  auto* mid = new TWinControl(&parent);
  mid->SetParent(&parent);
  auto* leaf = new TGraphicControl(&parent);
  leaf->SetParent(mid);
  parent.SetColor(clNavy);
  parent.GetFont()->SetSize(14);
  EXPECT_EQ(leaf->GetColor(), clNavy);
  EXPECT_EQ(leaf->GetFont()->GetSize(), 14);
  EXPECT_TRUE(leaf->GetParentFont());
  leaf->GetFont()->SetSize(9);  // its own font now
  EXPECT_FALSE(leaf->GetParentFont());
  leaf->SetColor(clYellow);
  EXPECT_FALSE(leaf->GetParentColor());
  parent.GetFont()->SetSize(20);
  parent.SetColor(clGreen);
  EXPECT_EQ(mid->GetFont()->GetSize(), 20);
  EXPECT_EQ(leaf->GetFont()->GetSize(), 9);
  EXPECT_EQ(leaf->GetColor(), clYellow);
  leaf->SetParentFont(true);
  leaf->SetParentColor(true);
  EXPECT_EQ(leaf->GetFont()->GetSize(), 20);
  EXPECT_EQ(leaf->GetColor(), clGreen);
}

TEST_F(MessageTest, ShowHintFollowsTheParentUntilSetDirectly) {
  TWinControl parent(nullptr);
  auto* child = new TGraphicControl(&parent);
  child->SetParent(&parent);
  parent.SetShowHint(true);
  EXPECT_TRUE(child->GetShowHint());
  child->SetShowHint(false);
  EXPECT_FALSE(child->GetParentShowHint());
  parent.SetShowHint(false);
  parent.SetShowHint(true);
  EXPECT_FALSE(child->GetShowHint());
}

TEST_F(MessageTest, NameFollowsIntoCaptionOnlyWhileTheyAgree) {
  TWinControl c(nullptr);
  c.SetName("Button1");
  EXPECT_EQ(c.GetCaption(), "Button1");
  c.SetCaption("OK");
  c.SetName("Button2");
  EXPECT_EQ(c.GetCaption(), "OK");
}

TEST_F(MessageTest, PackingHelpersRoundTrip) {
  LPARAM l = PointToLParam({-5, 300});
  EXPECT_EQ(LParamToPoint(l), (TPoint{-5, 300}));
  EXPECT_EQ(LParamToPoint(PointToLParam({100000, -100000})), (TPoint{32767, -32768}));
  TShiftState s{ssShift, ssCtrl, ssLeft, ssMiddle};
  EXPECT_EQ(KeysToShiftState(ShiftStateToKeys(s)), s);
  TShiftState k{ssShift, ssAlt};
  EXPECT_EQ(KeyDataToShiftState(ShiftStateToKeyData(k)), k);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(MAKEWPARAM(0, -240)), -240);
  EXPECT_EQ(WM_TIMER, 0x113u);
  EXPECT_EQ(CM_BUTTONPRESSED, 0xB018u);
  EXPECT_EQ(CN_KEYDOWN, 0xBD00u);
  EXPECT_EQ(CM_MOUSEENTER, 0xB013u);
  EXPECT_EQ(CM_MOUSELEAVE, 0xB014u);
}

TEST_F(MessageTest, KeyTranslationFollowsTheUsLayout) {
  EXPECT_EQ(KeyToChar('A', {}), U'a');
  EXPECT_EQ(KeyToChar('A', {ssShift}), U'A');
  EXPECT_EQ(KeyToChar('C', {ssCtrl}), char32_t{3});
  EXPECT_EQ(KeyToChar('4', {ssShift}), U'$');
  EXPECT_EQ(KeyToChar(VK_OEM_COMMA, {}), U',');
  EXPECT_EQ(KeyToChar(VK_DECIMAL, {}), U'.');
  EXPECT_EQ(KeyToChar(VK_NUMPAD7, {}), U'7');
  EXPECT_EQ(KeyToChar(VK_LEFT, {}), char32_t{0});
  EXPECT_EQ(KeyToChar('A', {ssAlt}), char32_t{0});
  for (char32_t ch : std::u32string(U"aZ09 ,.-+=_?~\"{}")) {
    TKeyStroke k = CharToKey(ch);
    ASSERT_NE(k.Key, 0) << static_cast<uint32_t>(ch);
    EXPECT_EQ(KeyToChar(k.Key, k.Shift), ch);
  }
  EXPECT_EQ(CharToKey(U'é').Key, 0);
}

TEST_F(MessageTest, ClientToScreenAndClientToParentWalkTheParents) {
  auto* form = new TForm(nullptr);
  form->SetBounds(100, 50, 300, 200);
  auto* panel = new TWinControl(form);
  panel->SetParent(form);
  panel->SetBounds(10, 20, 100, 100);
  auto* c = new TGraphicControl(form);
  c->SetParent(panel);
  c->SetBounds(5, 6, 10, 10);
  EXPECT_EQ(c->ClientToScreen({1, 2}), (TPoint{116, 78}));
  EXPECT_EQ(c->ScreenToClient({116, 78}), (TPoint{1, 2}));
  EXPECT_EQ(c->ClientToParent({1, 2}), (TPoint{6, 8}));
  EXPECT_EQ(c->ClientToParent({1, 2}, form), (TPoint{16, 28}));
  TWinControl stranger(nullptr);
  EXPECT_THROW(c->ClientToParent({0, 0}, &stranger), EInvalidOperation);
  delete form;
}

}  // namespace
}  // namespace qel::test
