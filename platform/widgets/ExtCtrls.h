#pragma once
// The panel: a container with raised or lowered bevels, an optional border and a caption.
// Code: Panel.cpp; docs/widgets.md.
#include <cstdint>
#include <string>

#include "platform/controls/Forms.h"

namespace qel {

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
// An extra edge outside everything else, on the chosen sides: none, etched (tile), soft, or a
// flat one-pixel line.
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge : uint8_t { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;
using TBevelWidth = int;
using TBorderWidth = int;

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);
  ~TCustomPanel() override;
  std::string ClassName() const override { return "TCustomPanel"; }

  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  TBevelWidth GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);  // below 1 counts as 1
  TBorderWidth GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth Value);  // below 0 counts as 0
  // bsSingle adds a one-pixel window-frame line around everything.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelKind GetBevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind Value);
  TBevelEdges GetBevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges Value);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }

  // Pixels taken on each side by the border line, the bevels and the border width: the area
  // aligned children fill starts this far in.
  int FrameSize() const;
  // The client rectangle inside the BevelKind edge (the whole client without one).
  TRect EdgeRect() const;
  // The rectangle inside the edge and the bevels (client coordinates): where aligned children
  // go and where the caption is centred.
  TRect InnerRect() const;

 protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& ARect) override;
  void CMTextChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void FrameChanged();

 private:
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  TAlignment FAlignment = taCenter;
  TBevelKind FBevelKind = bkNone;
  TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
  bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
  std::string ClassName() const override { return "TPanel"; }
};

}  // namespace qel
