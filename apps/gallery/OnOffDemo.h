#pragma once
// The helpers of the on/off button page and the colours page. TOnOffDemo is a status line that
// reports the last button that changed and lets a click on any of the page's buttons select it
// in the property panel. TColourDemo wires the colours page: the selectors and the colour button
// colour the panel it names, and the first selector gets editable entries.
#include <string>

#include "platform/controls/Forms.h"
#include "platform/widgets/ExtCtrls.h"

namespace qel {

class TOnOffDemo : public TGraphicControl {
 public:
  explicit TOnOffDemo(TComponent* AOwner);
  std::string ClassName() const override { return "TOnOffDemo"; }
  void Loaded() override;
  const std::string& Status() const { return FStatus; }

 protected:
  void Paint() override;

 private:
  std::string FStatus = "Click a glyph to switch it; the right-hand one of each pair starts off";
};

class TColourDemo : public TGraphicControl {
 public:
  explicit TColourDemo(TComponent* AOwner);
  ~TColourDemo() override;
  std::string ClassName() const override { return "TColourDemo"; }
  TCustomPanel* GetPanel() const { return FPanel; }
  void SetPanel(TCustomPanel* Value);
  void Loaded() override;
  const std::string& Status() const { return FStatus; }

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Show(TColor Colour, const std::string& From);
  TCustomPanel* FPanel = nullptr;
  std::string FStatus = "Pick a colour from a list or with the button";
};

// Registers the on/off button, the colour controls and the two helpers. Idempotent.
void RegisterOnOffDemoClasses();

}  // namespace qel
