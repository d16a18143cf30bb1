#pragma once
// Controls that write what happens to them into a shared log, for the control-layer tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"

namespace qel::test {

using TLog = std::vector<std::string>;

// Every test starts from fresh application services.
class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetHeadlessApplication(); }
  void TearDown() override { ResetHeadlessApplication(); }
  THeadlessBackend* Backend() { return HeadlessBackend(); }
};

// A windowed control that fills itself with Fill and logs paint, mouse, key and focus traffic.
class TProbe : public TCustomControl {
 public:
  TProbe(TComponent* AOwner, TLog* Log, std::string Tag, TColor Fill = clWhite)
      : TCustomControl(AOwner), FLog(Log), FTag(std::move(Tag)) {
    this->Fill = Fill;
    SetTabStop(true);
  }
  std::string ClassName() const override { return "TProbe"; }
  TColor Fill;
  LRESULT DlgCode = 0;
  bool EatInCN = false;  // handles every key in CN_KEYDOWN, as self-contained editors do

  void Click() override {
    Log("click");
    TCustomControl::Click();
  }
  void DblClick() override {
    Log("dblclick");
    TCustomControl::DblClick();
  }
  void MouseDown(TMouseButton B, TShiftState S, int X, int Y) override {
    Log("down" + std::to_string(static_cast<int>(B)) + (S.Contains(ssDouble) ? "d" : "") + "@" +
        std::to_string(X) + "," + std::to_string(Y));
    TCustomControl::MouseDown(B, S, X, Y);
  }
  void MouseUp(TMouseButton B, TShiftState S, int X, int Y) override {
    Log("up" + std::to_string(static_cast<int>(B)) + "@" + std::to_string(X) + "," +
        std::to_string(Y));
    TCustomControl::MouseUp(B, S, X, Y);
  }
  void KeyDown(uint16_t& Key, TShiftState S) override {
    Log("keydown" + std::to_string(Key));
    TCustomControl::KeyDown(Key, S);
  }
  void KeyPress(char32_t& Key) override {
    Log("char" + std::to_string(static_cast<uint32_t>(Key)));
    TCustomControl::KeyPress(Key);
  }
  void DoEnter() override {
    Log("enter");
    TCustomControl::DoEnter();
  }
  void DoExit() override {
    Log("exit");
    TCustomControl::DoExit();
  }

 protected:
  void Paint() override {
    Log("paint");
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(GetClientRect());
  }
  void CMMouseEnter(TMessage& M) override {
    if (M.LParam == 0) Log("mouseenter");
    TCustomControl::CMMouseEnter(M);
  }
  void CMMouseLeave(TMessage& M) override {
    if (M.LParam == 0) Log("mouseleave");
    TCustomControl::CMMouseLeave(M);
  }
  void WMGetDlgCode(TMessage& M) override { M.Result = DlgCode; }
  void WMSetFocus(TMessage& M) override {
    Log("setfocus");
    TCustomControl::WMSetFocus(M);
  }
  void WMKillFocus(TMessage& M) override {
    Log("killfocus");
    TCustomControl::WMKillFocus(M);
  }
  void CNKeyDown(TMessage& M) override {
    if (!EatInCN) return TCustomControl::CNKeyDown(M);
    Log("cn" + std::to_string(M.WParam));
    M.Result = 1;
  }

 private:
  void Log(const std::string& What) {
    if (FLog) FLog->push_back(FTag + "." + What);
  }
  TLog* FLog;
  std::string FTag;
};

// A graphic control that paints a Fill-coloured box inset by Inset pixels (the rest shows the
// parent, unless Opaque makes it paint and claim every pixel).
class TGraphicProbe : public TGraphicControl {
 public:
  TGraphicProbe(TComponent* AOwner, TLog* Log, std::string Tag, TColor Fill = clRed, int Inset = 0)
      : TGraphicControl(AOwner), FLog(Log), FTag(std::move(Tag)) {
    this->Fill = Fill;
    this->Inset = Inset;
  }
  std::string ClassName() const override { return "TGraphicProbe"; }
  TColor Fill;
  int Inset;
  void SetOpaque(bool On) {
    TControlStyle s = GetControlStyle();
    if (On)
      s << csOpaque;
    else
      s >> csOpaque;
    SetControlStyle(s);
  }
  void Click() override {
    if (FLog) FLog->push_back(FTag + ".click");
    TGraphicControl::Click();
  }

 protected:
  void Paint() override {
    if (FLog) FLog->push_back(FTag + ".paint");
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(Rect(Inset, Inset, GetWidth() - Inset, GetHeight() - Inset));
  }

 private:
  TLog* FLog;
  std::string FTag;
};

inline TColor SurfacePixel(TForm* F, int X, int Y) {
  return F->Surface()->Canvas()->GetPixel(X, Y);
}

}  // namespace qel::test
