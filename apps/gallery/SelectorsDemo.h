#pragma once
// The selector pages' helpers. Each is a one-line readout placed on its page that wires the
// page's components when the page has loaded, and lets a click on a component select it in the
// property panel:
// - TMarkSelDemo: hides marks of the mark selector named HiddenMarks (only the filled ones stay)
//   and reads out the mark under a click;
// - TThumbnailsDemo: draws a picture for every slide a strip asks for (generated on request,
//   so 100,000 slides cost nothing until they are seen), wires the page's scroll buttons and
//   reads out focus, clicks and selection;
// - TFolderTreeDemo: builds a sample folder tree in a private temporary folder (removed again
//   when the page goes), shows it in the page's folder tree and wires the create, remove and
//   refresh buttons.
#include <string>

#include "platform/controls/Forms.h"
#include "selectors/QEL_FolderTree.h"
#include "selectors/QEL_Thumbnails.h"
#include "selectors/QEL_marksel.h"

namespace qel {

class TSelectorReadout : public TGraphicControl {
 public:
  explicit TSelectorReadout(TComponent* AOwner);
  std::string ClassName() const override { return "TSelectorReadout"; }
  const std::string& Readout() const { return FReadout; }
  void Loaded() override;

 protected:
  // Wires the page's components; called once the page has loaded.
  virtual void Hook() = 0;
  void SetReadout(const std::string& Text);
  void Paint() override;
  // Makes a click on Control select it in the property panel.
  static void SelectOnClick(TControl* Control);

 private:
  std::string FReadout;
};

class TMarkSelDemo : public TSelectorReadout {
 public:
  explicit TMarkSelDemo(TComponent* AOwner) : TSelectorReadout(AOwner) {}
  std::string ClassName() const override { return "TMarkSelDemo"; }

 protected:
  void Hook() override;
};

class TThumbnailsDemo : public TSelectorReadout {
 public:
  explicit TThumbnailsDemo(TComponent* AOwner) : TSelectorReadout(AOwner) {}
  std::string ClassName() const override { return "TThumbnailsDemo"; }
  // The picture of slide Id: a colour field whose hue walks with the number, a sine curve,
  // the number itself. Portrait for every third slide.
  static void DrawSlide(int Id, TBitmap* Buffer);

 protected:
  void Hook() override;

 private:
  void Report(TThumbnails* T, const std::string& What);
};

class TFolderTreeDemo : public TSelectorReadout {
 public:
  explicit TFolderTreeDemo(TComponent* AOwner) : TSelectorReadout(AOwner) {}
  ~TFolderTreeDemo() override;
  std::string ClassName() const override { return "TFolderTreeDemo"; }
  // The sample folder ("" until the page has loaded or when it could not be made).
  const std::string& SampleDir() const { return FSampleDir; }

 protected:
  void Hook() override;

 private:
  void MakeSample();
  std::string FSampleDir;
  int FMade = 0;
};

// Registers the selector classes and the three demo readouts. Idempotent.
void RegisterSelectorsDemoClasses();

}  // namespace qel
