#pragma once
// TRepSpeedButton: the speed button with auto-repeat. While the left mouse button holds it
// down it raises OnRepeatClick, first after StartClickInterval and then every
// RepeatClickInterval, like the arrow of a scroll bar. Releasing it, the pointer leaving it,
// losing the mouse capture or the window's focus, or disabling or hiding it ends the repeat at
// once.
//
// Where the code lives: repsbut_button.cpp (mouse, setters), repsbut_timer.h/.cpp (the
// start-then-repeat window timer, shared with the progress bar), repsbut_register.cpp
// (published properties). docs/indicators.md describes the timing.
#include <memory>
#include <string>

#include "frame/QEL_errors.h"
#include "platform/controls/Forms.h"
#include "platform/widgets/Buttons.h"

namespace qel {

class TRepeatTimer;

class TRepSpeedButton : public TSpeedButton {
 public:
  explicit TRepSpeedButton(TComponent* AOwner);
  ~TRepSpeedButton() override;
  std::string ClassName() const override { return "TRepSpeedButton"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  int GetStartClickInterval() const { return FStartClickInterval; }
  void SetStartIv(int Value);  // at least 10
  int GetRepeatClickInterval() const { return FRepeatClickInterval; }
  void SetRepClickIv(int Value);  // at least 10
  const TNotifyEvent& GetOnRepeatClick() const { return FOnRepeatClick; }
  void SetOnRepeatClick(TNotifyEvent Value);

  // Whether the left button holds the button down (the repeat runs or is about to).
  bool Pressed() const { return FPressed; }
  bool TimerRunning() const;

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WndProc(TMessage& Message) override;

 protected:
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  // One tick: the first switches to the repeat interval; then RepeatClickEvent and
  // OnRepeatClick.
  void DoTimer();
  // A hook for descendants, called on every repeat before OnRepeatClick.
  virtual void RepeatClickEvent() {}
  void InitTimer();
  void UpdateTimer();

 private:
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  // Ends the repeat without a release: no click, no mouse-up event.
  void StopRepeat();

  int FStartClickInterval = 500;
  int FRepeatClickInterval = 200;
  TNotifyEvent FOnRepeatClick;
  bool FPressed = false;
  std::unique_ptr<TRepeatTimer> FTimer;
};

// Registers TRepSpeedButton with the property registry. Idempotent.
void RegisterRepSpeedButtonClasses();

}  // namespace qel
