// Private windows, window timers in virtual time, posted messages, exception handling and the
// application services (beep, clipboard, cursor, modal hook, backend choice).
#include <cstdlib>

#include "Probes.h"

namespace qel::test {
namespace {

using TimerTest = ControlsTest;
using V = std::vector<std::string>;

// A private window whose handler logs "<tag>@<time>" for each tick.
struct TTicker {
  TTicker(V* Log, std::string Tag) : FLog(Log), FTag(std::move(Tag)) {
    Wnd = AllocateHWnd([this](TMessage& M) { Handle(M); });
  }
  ~TTicker() { DeallocateHWnd(Wnd); }
  void Handle(TMessage& M) {
    if (M.Msg != WM_TIMER) {
      M.Result = DefWindowProc(Wnd, M.Msg, M.WParam, M.LParam);
      return;
    }
    FLog->push_back(FTag + std::to_string(M.WParam) + "@" + std::to_string(GetTickCount()));
    if (OnTick) OnTick(M);
  }
  HWND Wnd;
  std::function<void(TMessage&)> OnTick;

 private:
  V* FLog;
  std::string FTag;
};

TEST_F(TimerTest, TwoTimersTickInTimeOrderAndRepeat) {
  V log;
  TTicker a(&log, "a"), b(&log, "b");
  EXPECT_EQ(SetTimer(a.Wnd, 1, 30), 1u);
  EXPECT_EQ(SetTimer(b.Wnd, 7, 20), 7u);
  Application->AdvanceTime(59);
  EXPECT_EQ(log, (V{"b7@20", "a1@30", "b7@40"}));
  log.clear();
  Application->AdvanceTime(1);  // a and b both due at 60: the one set first goes first
  EXPECT_EQ(log, (V{"a1@60", "b7@60"}));
  EXPECT_EQ(GetTickCount(), 60);
  EXPECT_EQ(Application->TimerCount(), 2);
}

TEST_F(TimerTest, SetTimerAgainRestartsThePeriodAndKillTimerStopsIt) {
  V log;
  TTicker a(&log, "a");
  SetTimer(a.Wnd, 1, 100);
  Application->AdvanceTime(80);
  SetTimer(a.Wnd, 1, 100);  // restart: next tick 100 ms from now
  Application->AdvanceTime(150);
  EXPECT_EQ(log, (V{"a1@180"}));
  EXPECT_TRUE(KillTimer(a.Wnd, 1));
  EXPECT_FALSE(KillTimer(a.Wnd, 1));
  Application->AdvanceTime(1000);
  EXPECT_EQ(log.size(), 1u);
  SetTimer(a.Wnd, 2, 0);  // below 1 ms counts as 1
  Application->AdvanceTime(3);
  EXPECT_EQ(log, (V{"a1@180", "a2@1231", "a2@1232", "a2@1233"}));
}

TEST_F(TimerTest, AHandlerMayKillOrRestartItsOwnTimerOrFreeItsWindow) {
  V log;
  TTicker a(&log, "a"), b(&log, "b");
  a.OnTick = [&](TMessage& M) { KillTimer(a.Wnd, M.WParam); };
  b.OnTick = [&](TMessage&) { SetTimer(b.Wnd, 1, 50); };  // start interval, then repeat interval
  SetTimer(a.Wnd, 1, 10);
  SetTimer(b.Wnd, 1, 300);
  Application->AdvanceTime(400);
  EXPECT_EQ(log, (V{"a1@10", "b1@300", "b1@350", "b1@400"}));
  log.clear();
  // A window freed from inside its own handler gets no further ticks.
  int ticks = 0;
  HWND self = 0;
  self = AllocateHWnd([&](TMessage& M) {
    if (M.Msg != WM_TIMER) return;
    ++ticks;
    DeallocateHWnd(self);
  });
  SetTimer(self, 3, 5);
  Application->AdvanceTime(20);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(Application->TimerCount(), 1);  // b's
}

TEST_F(TimerTest, TimersCanBeMadeToFailAndUnknownWindowsGetNone) {
  V log;
  TTicker a(&log, "a");
  Application->SetTimersFail(true);
  EXPECT_EQ(SetTimer(a.Wnd, 1, 10), 0u);
  Application->SetTimersFail(false);
  EXPECT_EQ(SetTimer(a.Wnd, 1, 10), 1u);
  HWND gone = AllocateHWnd([](TMessage&) {});
  DeallocateHWnd(gone);
  EXPECT_EQ(SetTimer(gone, 1, 10), 0u);
  EXPECT_FALSE(PostMessage(gone, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(gone, WM_USER, 0, 0), 0);
  EXPECT_THROW(Application->AdvanceTime(-1), ERangeError);
}

TEST_F(TimerTest, DeallocatingAWindowKillsItsTimers) {
  V log;
  auto* a = new TTicker(&log, "a");
  SetTimer(a->Wnd, 1, 10);
  delete a;
  EXPECT_EQ(Application->TimerCount(), 0);
  Application->AdvanceTime(100);
  EXPECT_TRUE(log.empty());
}

TEST_F(TimerTest, ExceptionsInTimerHandlersGoToTheApplicationAndTheClockGoesOn) {
  V log;
  TTicker a(&log, "a");
  a.OnTick = [&](TMessage&) { throw EConvertError("bad tick"); };
  SetTimer(a.Wnd, 1, 10);
  Application->AdvanceTime(20);  // nothing escapes
  EXPECT_EQ(log.size(), 2u);
  EXPECT_EQ(Backend()->Errors, (V{"bad tick", "bad tick"}));
  // With a handler set, it gets them instead; EAbort is always silent.
  V handled;
  Application->OnException = [&](TObject*, const std::exception& E) {
    handled.push_back(E.what());
  };
  Application->AdvanceTime(10);
  a.OnTick = [&](TMessage&) { throw EAbort("quiet"); };
  Application->AdvanceTime(10);
  a.OnTick = [&](TMessage&) { throw 42; };
  Application->AdvanceTime(10);
  EXPECT_EQ(handled, (V{"bad tick"}));
  EXPECT_EQ(Backend()->Errors.back(), "Unknown exception");
}

TEST_F(TimerTest, WmTimerOfAWindowedControlReachesItsWndProc) {
  struct TTimed : TWinControl {
    using TWinControl::TWinControl;
    int Ticks = 0;
    void WndProc(TMessage& M) override {
      if (M.Msg == WM_TIMER) ++Ticks;
      TWinControl::WndProc(M);
    }
  };
  TTimed t(nullptr);
  EXPECT_EQ(SetTimer(t.GetHandle(), 1, 25), 1u);
  Application->AdvanceTime(100);
  EXPECT_EQ(t.Ticks, 4);
  t.DestroyHandle();  // its timers go with the handle
  EXPECT_EQ(Application->TimerCount(), 0);
}

TEST_F(TimerTest, PostedMessagesArriveOnProcessMessagesInOrder) {
  V log;
  HWND w = AllocateHWnd([&](TMessage& M) {
    log.push_back(std::to_string(M.Msg - WM_USER) + ":" + std::to_string(M.WParam));
  });
  EXPECT_TRUE(PostMessage(w, WM_USER + 1, 10, 0));
  EXPECT_TRUE(PostMessage(w, WM_USER + 2, 20, 0));
  EXPECT_TRUE(log.empty());
  Application->ProcessMessages();
  EXPECT_EQ(log, (V{"1:10", "2:20"}));
  EXPECT_EQ(SendMessage(w, WM_USER + 3, 30, 0), 0);
  EXPECT_EQ(log.back(), "3:30");
  DeallocateHWnd(w);
}

TEST_F(TimerTest, BeepsCursorAndClipboardAreRecorded) {
  MessageBeep(0xFFFF);
  MessageBeep(MB_OK);
  EXPECT_EQ(Backend()->Beeps, (std::vector<unsigned>{0xFFFF, 0}));

  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->GetCursor(), crHourGlass);
  EXPECT_EQ(Backend()->Cursors.back(), crHourGlass);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Backend()->Cursors.back(), crDefault);

  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetAsText(), "");
  Clipboard()->SetAsText("1\t2\r\n");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard()->GetAsText(), "1\t2\r\n");
  Clipboard()->SetTextBuf("Grüße");
  char buf[5];
  EXPECT_EQ(Clipboard()->GetTextBuf(buf, 5), 4);  // "Grü" is 4 bytes
  EXPECT_STREQ(buf, "Gr\xC3\xBC");
  EXPECT_EQ(Clipboard()->GetTextBuf(buf, 4), 2);  // room for 3: "ü" is not cut in half
  EXPECT_STREQ(buf, "Gr");
  Clipboard()->SetAsText("");  // an empty text is still text
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(TimerTest, HoverCursorShowsTheControlsCursorUnlessTheScreenOverrides) {
  auto* form = new TForm(nullptr);
  auto* c = new TGraphicControl(form);
  c->SetParent(form);
  c->SetBounds(0, 0, 50, 50);
  c->SetCursor(crIBeam);
  form->Show();
  THeadlessInput in(form);
  in.MouseMove(10, 10);
  EXPECT_EQ(Backend()->Cursors.back(), crIBeam);
  Screen->SetCursor(crHourGlass);
  in.MouseMove(11, 11);
  EXPECT_EQ(Backend()->Cursors.back(), crHourGlass);
  Screen->SetCursor(crDefault);
  in.MouseMove(100, 100);
  EXPECT_EQ(Backend()->Cursors.back(), crDefault);
  delete form;
}

TEST_F(TimerTest, ShowModalUsesTheHookOrGivesUpWithCancel) {
  auto* dlg = new TForm(nullptr);
  auto* field = new TWinControl(dlg);
  field->SetParent(dlg);
  EXPECT_EQ(dlg->ShowModal(), mrCancel);  // no hook: never hangs
  EXPECT_FALSE(dlg->GetVisible());
  Application->OnModalShow = [&](TForm* F) {
    EXPECT_TRUE(F->GetVisible());
    EXPECT_TRUE(F->Modal());
    field->SetText("filled");
    F->SetModalResult(mrYes);
  };
  EXPECT_EQ(dlg->ShowModal(), mrYes);
  EXPECT_EQ(field->GetText(), "filled");
  // Closing a modal form answers mrCancel.
  Application->OnModalShow = [](TForm* F) { F->Close(); };
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  Application->OnModalShow = [](TForm*) {};
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  dlg->Show();
  EXPECT_THROW(dlg->ShowModal(), EInvalidOperation);
  delete dlg;
}

TEST_F(TimerTest, CloseAsksFirstAndTheMainFormEndsTheApplication) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  bool allow = false;
  TCloseAction act = caHide;
  main->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = allow; };
  main->OnClose = [&](TObject*, TCloseAction& A) { A = act; };
  main->Close();
  EXPECT_TRUE(main->GetVisible());
  allow = true;
  act = caNone;
  main->Close();
  EXPECT_TRUE(main->GetVisible());
  EXPECT_FALSE(Application->Terminated());
  act = caFree;
  main->Close();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Screen->FormCount(), 1);
  Application->ProcessMessages();  // released forms go on the next turn
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_EQ(Application->GetMainForm(), nullptr);
}

TEST_F(TimerTest, BackendIsChosenByName) {
  ::setenv("QEL_BACKEND", "no-such-backend", 1);
  try {
    Application->Initialize();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Unknown backend \"no-such-backend\"");
  }
  ::setenv("QEL_BACKEND", "headless", 1);
  Application->Initialize();
  EXPECT_EQ(Application->Backend()->Name(), "headless");
  int made = 0;
  RegisterBackend("counting", [&made] {
    ++made;
    return std::make_unique<THeadlessBackend>();
  });
  ::setenv("QEL_BACKEND", "counting", 1);
  Application->Initialize();
  EXPECT_EQ(made, 1);
  RegisterBackend("counting", [] { return std::make_unique<THeadlessBackend>(); });
  ::setenv("QEL_BACKEND", "headless", 1);
}

TEST_F(TimerTest, HintAppearsAfterThePauseAndGoesOnLeaving) {
  auto* form = new TForm(nullptr);
  auto* c = new TGraphicControl(form);
  c->SetParent(form);
  c->SetBounds(10, 10, 50, 50);
  c->SetHint("Short|Long text");
  c->SetShowHint(true);
  auto* plain = new TGraphicControl(form);
  plain->SetParent(form);
  plain->SetBounds(100, 10, 50, 50);
  form->Show();
  std::string hinted;
  Application->OnHint = [&](TObject*) { hinted = Application->GetHint(); };
  THeadlessInput in(form);
  in.MouseMove(20, 20);
  EXPECT_EQ(hinted, "Long text");
  Application->AdvanceTime(499);
  EXPECT_EQ(Application->HintControl(), nullptr);
  Application->AdvanceTime(1);
  EXPECT_EQ(Application->HintControl(), c);
  TRect r = Application->HintRect();
  EXPECT_FALSE(r.IsEmpty());
  EXPECT_GE(r.Top, 20 + 20);                              // below the pointer
  EXPECT_EQ(SurfacePixel(form, r.Left, r.Top), clBlack);  // painted on the form surface
  in.MouseMove(120, 20);
  EXPECT_EQ(Application->HintControl(), nullptr);
  EXPECT_EQ(hinted, "");
  Application->AdvanceTime(1000);
  EXPECT_EQ(Application->HintControl(), nullptr);  // no hint there
  // Hidden again after the hide pause; a click cancels it too.
  in.MouseMove(20, 20);
  Application->AdvanceTime(500);
  EXPECT_EQ(Application->HintControl(), c);
  Application->AdvanceTime(2500);
  EXPECT_EQ(Application->HintControl(), nullptr);
  delete form;  // a pending hint must not outlive its control
  Application->AdvanceTime(1000);
}

// A backend with its own clock, as real backends have: waiting moves the clock by the timeout
// (or by Step when waiting without limit) and events come from a script.
class TScriptedClockBackend : public THeadlessBackend {
 public:
  bool RealTime() const override { return true; }
  int64_t TickCount() override { return Now; }
  bool WaitForEvents(int TimeoutMs) override {
    ++Waits;
    Now += TimeoutMs >= 0 ? TimeoutMs : Step;
    return !Script.empty();
  }
  void PumpEvents() override {
    auto script = std::move(Script);
    Script.clear();
    for (auto& f : script) f();
  }
  int64_t Now = 0;
  int64_t Step = 10;
  int Waits = 0;
  std::vector<std::function<void()>> Script;
};

TEST_F(TimerTest, RealTimeLoopRunsTimersUntilTerminateWithoutPilingUpLateTicks) {
  auto owned = std::make_unique<TScriptedClockBackend>();
  TScriptedClockBackend* b = owned.get();
  Application->SetBackend(std::move(owned));
  V log;
  TTicker t(&log, "t");
  t.OnTick = [&](TMessage&) {
    if (log.size() == 3) Application->Terminate();
  };
  SetTimer(t.Wnd, 1, 100);
  Application->Run();
  EXPECT_EQ(log, (V{"t1@100", "t1@200", "t1@300"}));
  b->Now += 1000;  // a long stall: one tick, not ten
  Application->ProcessMessages();
  EXPECT_EQ(log.size(), 4u);
  EXPECT_EQ(Application->NextTimerDelay(), 100);
  Application->AdvanceTime(5000);  // the virtual clock is not this backend's
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(TimerTest, RealTimeShowModalRunsANestedLoopAndHonoursTheCloseProtocol) {
  auto owned = std::make_unique<TScriptedClockBackend>();
  TScriptedClockBackend* b = owned.get();
  Application->SetBackend(std::move(owned));
  auto* dlg = new TForm(nullptr);
  int queries = 0;
  dlg->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
  // The user presses OK twice; the first time the dialog refuses to close.
  b->Script.push_back([&] { dlg->SetModalResult(mrOk); });
  V log;
  TTicker t(&log, "t");
  t.OnTick = [&](TMessage&) {
    if (log.size() == 2) dlg->SetModalResult(mrOk);
  };
  SetTimer(t.Wnd, 1, 50);
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(log.size(), 2u);  // the loop went on after the refusal until the second press
  EXPECT_FALSE(dlg->GetVisible());
  EXPECT_EQ(Application->ModalForm(), nullptr);
  delete dlg;
}

}  // namespace
}  // namespace qel::test
