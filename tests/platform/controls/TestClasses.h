#pragma once
// Components used by the form tests: TKinds publishes one property of every kind the registry
// knows; TRecorder logs its setter calls and Loaded, to check the order of form reading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"

namespace qel::test {

enum TTestMood : uint8_t { tmCalm, tmBusy, tmAngry };
using TTestMoods = TSet<TTestMood>;

class TKinds : public TCustomControl {
 public:
  explicit TKinds(TComponent* AOwner) : TCustomControl(AOwner) {}
  std::string ClassName() const override { return "TKinds"; }

  double GetValue() const { return FValue; }
  void SetValue(double V) { FValue = V; }
  int64_t GetBig() const { return FBig; }
  void SetBig(int64_t V) { FBig = V; }
  int16_t GetSmall() const { return FSmall; }
  void SetSmall(int16_t V) { FSmall = V; }
  TTestMood GetMood() const { return FMood; }
  void SetMood(TTestMood V) { FMood = V; }
  TTestMoods GetMoods() const { return FMoods; }
  void SetMoods(TTestMoods V) { FMoods = V; }
  TColor GetShade() const { return FShade; }
  void SetShade(TColor V) { FShade = V; }
  const std::string& GetNote() const { return FNote; }
  void SetNote(const std::string& V) { FNote = V; }
  bool GetFlag() const { return FFlag; }
  void SetFlag(bool V) { FFlag = V; }
  TPen* GetPen() const { return FPen.get(); }
  TBrush* GetBrush() const { return FBrush.get(); }
  TKinds* GetBuddy() const { return FBuddy; }
  void SetBuddy(TKinds* V) {
    if (FBuddy) RemoveFreeNotification(FBuddy);
    FBuddy = V;
    if (FBuddy) FreeNotification(FBuddy);
  }
  TStrings* GetLines() const { return FLines.get(); }
  void Notification(TComponent* C, TOperation Op) override {
    TCustomControl::Notification(C, Op);
    if (Op == opRemove && C == FBuddy) FBuddy = nullptr;
  }

 private:
  double FValue = 0;
  int64_t FBig = 0;
  int16_t FSmall = 0;
  TTestMood FMood = tmCalm;
  TTestMoods FMoods;
  TColor FShade = clBlack;
  std::string FNote;
  bool FFlag = false;
  std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
  std::unique_ptr<TBrush> FBrush = std::make_unique<TBrush>();
  TKinds* FBuddy = nullptr;
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

// Every setter call and every Loaded, in order, with whether csLoading was set at the time.
inline std::vector<std::string>& RecorderLog() {
  static std::vector<std::string> log;
  return log;
}

class TRecorder : public TGraphicControl {
 public:
  explicit TRecorder(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::string ClassName() const override { return "TRecorder"; }
  int GetLevel() const { return FLevel; }
  void SetLevel(int V) {
    FLevel = V;
    Log("Level");
  }
  const std::string& GetLabel() const { return FLabel; }
  void SetLabel(const std::string& V) {
    FLabel = V;
    Log("Label");
  }
  void Loaded() override {
    TGraphicControl::Loaded();
    RecorderLog().push_back("Loaded " + GetName());
    LoadedCount++;
  }
  int LoadedCount = 0;

 private:
  void Log(const char* What) {
    RecorderLog().push_back(GetName() + "." + What +
                            (ComponentState().Contains(csLoading) ? " loading" : " live"));
  }
  int FLevel = 0;
  std::string FLabel;
};

// A component class that throws from Loaded, to check that the read is undone.
class TFailsLoaded : public TComponent {
 public:
  explicit TFailsLoaded(TComponent* AOwner) : TComponent(AOwner) {}
  std::string ClassName() const override { return "TFailsLoaded"; }
  void Loaded() override {
    TComponent::Loaded();
    throw EComponentError("Component \"" + GetName() + "\": not ready");
  }
};

inline void RegisterTestClasses() {
  RegisterPlatformClasses();
  RegisterEnum<TTestMood>("TTestMood", {"tmCalm", "tmBusy", "tmAngry"});
  RegisterClass<TKinds>("TKinds", "TCustomControl")
      .Prop("Value", &TKinds::GetValue, &TKinds::SetValue, 0.0)
      .Prop("Big", &TKinds::GetBig, &TKinds::SetBig, 0)
      .Prop("Small", &TKinds::GetSmall, &TKinds::SetSmall, 0)
      .Enum("Mood", &TKinds::GetMood, &TKinds::SetMood, tmCalm)
      .Set("Moods", &TKinds::GetMoods, &TKinds::SetMoods, TTestMoods{})
      .Color("Shade", &TKinds::GetShade, &TKinds::SetShade, clBlack)
      .Prop("Note", &TKinds::GetNote, &TKinds::SetNote, std::string())
      .Prop("Flag", &TKinds::GetFlag, &TKinds::SetFlag, false)
      .Object("Pen", &TKinds::GetPen)
      .Object("Brush", &TKinds::GetBrush)
      .Component<TKinds>("Buddy", &TKinds::GetBuddy, &TKinds::SetBuddy)
      .Strings("Lines", &TKinds::GetLines);
  RegisterClass<TRecorder>("TRecorder", "TGraphicControl")
      .Prop("Level", &TRecorder::GetLevel, &TRecorder::SetLevel, 0)
      .Prop("Label", &TRecorder::GetLabel, &TRecorder::SetLabel, std::string());
  RegisterClass<TFailsLoaded>("TFailsLoaded", "TComponent");
}

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    RegisterTestClasses();
    RecorderLog().clear();
  }
  void TearDown() override { ResetHeadlessApplication(); }
};

}  // namespace qel::test
