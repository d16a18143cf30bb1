#pragma once
// The start-then-repeat window timer of the auto-repeat button, which the progress bar's
// auto-increment uses too: timer 1 of a private window, first after a start interval, then
// restarted with a repeat interval, on the application's clock (virtual under tests).
#include <functional>

#include "platform/controls/Forms.h"

namespace qel {

class TRepeatTimer {
 public:
  // Tick runs on every timer message, inside a guard that hands any exception to the
  // application's exception handler with Sender; Fail raises the owner's "no timer available".
  TRepeatTimer(TObject* Sender, std::function<void()> Tick, std::function<void()> Fail);
  ~TRepeatTimer();  // ends the timer with the window
  TRepeatTimer(const TRepeatTimer&) = delete;
  TRepeatTimer& operator=(const TRepeatTimer&) = delete;

  // Marks the next tick as the first and arms Interval when Armed (else only stops).
  void Start(int Interval, bool Armed);
  // Clears the first-tick mark and arms Interval when Armed (else only stops).
  void Repeat(int Interval, bool Armed);
  bool FirstTick() const { return FFirstTick; }
  bool Running() const { return FRunning; }

 private:
  void Arm(int Interval, bool Armed);
  void WndProc(TMessage& Message);

  TObject* FSender;
  std::function<void()> FTick;
  std::function<void()> FFail;
  HWND FWnd = 0;
  bool FFirstTick = true;
  bool FRunning = false;
};

}  // namespace qel
