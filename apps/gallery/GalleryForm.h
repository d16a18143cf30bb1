#pragma once
// The gallery shell: a page list on the left, the current page in the middle (each page is a
// form file embedded in the program) and a property panel on the right that reads and writes
// the selected component's published properties through the class registry.
#include <functional>
#include <string>
#include <vector>

#include "apps/gallery/DemoControls.h"

namespace qel {

class TGalleryPage;

// A list of texts, one selected; mouse, arrows, Home/End, Page Up/Down.
class TPageList : public TCustomControl {
 public:
  explicit TPageList(TComponent* AOwner);
  std::string ClassName() const override { return "TPageList"; }
  void SetItems(std::vector<std::string> Items);
  const std::vector<std::string>& Items() const { return FItems; }
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);  // clamped; -1 only for an empty list
  // The row rectangle of Index (client coordinates); hit testing and painting both use it.
  TRect ItemRect(int Index) const;
  static constexpr int kHeaderHeight = 28;
  static constexpr int kRowHeight = 24;
  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;

 private:
  std::vector<std::string> FItems;
  int FItemIndex = -1;
};

// The published properties of one component as name/value rows; nested objects are flattened
// to dotted names. Enter, F2, a click on the selected value or typing edits it (the value
// starts selected, so typing replaces it; Enter applies, Escape cancels),
// a double click or Space steps booleans and enumerations; errors show in the message line.
class TPropertyPanel : public TCustomControl {
 public:
  explicit TPropertyPanel(TComponent* AOwner);
  ~TPropertyPanel() override;
  std::string ClassName() const override { return "TPropertyPanel"; }

  TComponent* Subject() const { return FSubject; }
  void SetSubject(TComponent* Value);
  int RowCount() const { return static_cast<int>(FRows.size()); }
  const std::string& RowPath(int Index) const { return FRows.at(static_cast<size_t>(Index)).Path; }
  std::string RowValue(int Index) const;
  int GetRowIndex() const { return FRow; }
  void SetRowIndex(int Value);
  bool Editing() const { return FEditing; }
  const std::string& EditText() const { return FEditText; }
  const std::string& Message() const { return FMessage; }
  bool MessageIsError() const { return FMessageIsError; }
  // Applies Text to the property of the row; false (and the error in Message) when refused.
  bool Apply(int Row, const std::string& Text);
  void BeginEdit(const std::string& Initial);
  void CancelEdit();
  bool CommitEdit();

  TRect RowRect(int Index) const;  // client coordinates; empty when scrolled out of view
  static constexpr int kHeaderHeight = 28;
  static constexpr int kRowHeight = 20;
  static constexpr int kMessageHeight = 36;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void WMGetDlgCode(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  struct TRow {
    std::string Path;
    const TPropInfo* Prop;
  };
  void AddRows(const TPersistent* Obj, const std::string& Prefix);
  int VisibleRows() const;
  void ScrollIntoView();
  void StepValue(int Row);
  void SetMessage(const std::string& Text, bool IsError);

  TComponent* FSubject = nullptr;
  std::vector<TRow> FRows;
  int FRow = -1;
  int FTopRow = 0;
  bool FEditing = false;
  bool FEditFresh = false;  // the text is still the value editing began with, all selected
  std::string FEditText;
  std::string FMessage;
  bool FMessageIsError = false;
  int FNameWidth = 110;
};

// One page of the gallery as embedded: the stem of its file (for screenshots), its title and
// its form text.
struct TGalleryPageSource {
  std::string Stem;
  std::string Title;
  std::string Text;
};
// The embedded pages in file-name order. Raises EFormFileError for a page that does not parse.
std::vector<TGalleryPageSource> GalleryPages();

class TGalleryForm : public TSelectingForm {
 public:
  explicit TGalleryForm(TComponent* AOwner);
  std::string ClassName() const override { return "TGalleryForm"; }

  int PageCount() const { return static_cast<int>(FPages.size()); }
  const TGalleryPageSource& PageSource(int Index) const {
    return FPages.at(static_cast<size_t>(Index));
  }
  // Builds page Index from its form text, replacing the current one, and shows the properties
  // of its first component.
  void ShowPage(int Index);
  int CurrentPage() const { return FList->GetItemIndex(); }
  TGalleryPage* Page() const { return FPage; }
  TPageList* List() const { return FList; }
  TPropertyPanel* Panel() const { return FPanel; }
  void SelectComponent(TComponent* Component) override;

 private:
  std::vector<TGalleryPageSource> FPages;
  TPageList* FList;
  TPropertyPanel* FPanel;
  TGalleryPage* FPage = nullptr;
};

}  // namespace qel
