// The start-then-repeat window timer.
#include "indicators/repsbut_timer.h"

namespace qel {

TRepeatTimer::TRepeatTimer(TObject* Sender, std::function<void()> Tick, std::function<void()> Fail)
    : FSender(Sender), FTick(std::move(Tick)), FFail(std::move(Fail)) {
  FWnd = AllocateHWnd([this](TMessage& M) { WndProc(M); });
}

TRepeatTimer::~TRepeatTimer() {
  if (FWnd) DeallocateHWnd(FWnd);
}

void TRepeatTimer::Arm(int Interval, bool Armed) {
  KillTimer(FWnd, 1);
  FRunning = false;
  if (Interval <= 0 || !Armed) return;
  if (SetTimer(FWnd, 1, static_cast<unsigned>(Interval)) == 0) {
    FFail();
    return;
  }
  FRunning = true;
}

void TRepeatTimer::Start(int Interval, bool Armed) {
  FFirstTick = true;
  Arm(Interval, Armed);
}

void TRepeatTimer::Repeat(int Interval, bool Armed) {
  FFirstTick = false;
  Arm(Interval, Armed);
}

void TRepeatTimer::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER || Message.WParam != 1) {
    Message.Result = DefWindowProcA(FWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    FTick();
  } catch (...) {
    Application->HandleException(FSender);
  }
}

}  // namespace qel
