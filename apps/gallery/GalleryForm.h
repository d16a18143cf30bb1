#pragma once
// The gallery shell: a page list on the left, the current page in the middle (each page is a
// form file embedded in the program) and a property panel on the right that reads and writes
// the selected component's published properties through the class registry.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/gallery/DemoControls.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

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

class TPropertyPanel;

// The inspector's in-place text editor: a full edit (caret, selection, clipboard, undo) that
// hands Enter, Esc, Up/Down and Tab to the panel.
class TInspectorEdit : public TEdit {
 public:
  TInspectorEdit(TPropertyPanel* Panel);
  std::string ClassName() const override { return "TInspectorEdit"; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void WMGetDlgCode(TMessage& Message) override;
  void CMExit(TMessage& Message) override;

 private:
  TPropertyPanel* FPanel;
};

// The inspector's drop-down for values chosen from a list: enumerations, booleans, the members
// of a set (a choice toggles one) and named colours (with "Custom..." for the colour dialog).
class TInspectorChoice : public TComboBox {
 public:
  TInspectorChoice(TPropertyPanel* Panel);
  std::string ClassName() const override { return "TInspectorChoice"; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void WMGetDlgCode(TMessage& Message) override;

 private:
  TPropertyPanel* FPanel;
};

// The published properties of one component as name/value rows; nested objects are flattened
// to dotted names. Above them a list of the page's components chooses the subject. A click on
// the selected row's value, Enter or F2 edits it: in an edit for texts and numbers, in a
// drop-down for enumerations, booleans, sets and colours; typing on a row starts the edit with
// that character. Enter applies, Esc cancels; a refused value is explained in the message
// dialog and in the message line. A double click or Space steps booleans and enumerations.
class TPropertyPanel : public TCustomControl {
 public:
  explicit TPropertyPanel(TComponent* AOwner);
  ~TPropertyPanel() override;
  std::string ClassName() const override { return "TPropertyPanel"; }

  TComponent* Subject() const { return FSubject; }
  void SetSubject(TComponent* Value);
  // The components the list above the rows offers (the page's); choosing one selects it on the
  // panel's TSelectingForm.
  void SetComponents(std::vector<TComponent*> Components);
  TComboBox* ComponentList() const { return FPicker; }
  int RowCount() const { return static_cast<int>(FRows.size()); }
  const std::string& RowPath(int Index) const { return FRows.at(static_cast<size_t>(Index)).Path; }
  std::string RowValue(int Index) const;
  // Whether the row's value is chosen from a drop-down (enumeration, boolean, set, colour).
  bool RowHasChoices(int Index) const;
  int GetRowIndex() const { return FRow; }
  void SetRowIndex(int Value);
  bool Editing() const { return FEditing; }
  std::string EditText() const;
  TInspectorEdit* Editor() const { return FEdit; }
  TInspectorChoice* Choice() const { return FChoice; }
  const std::string& Message() const { return FMessage; }
  bool MessageIsError() const { return FMessageIsError; }
  // Applies Text to the property of the row; false (and the error in Message and the message
  // dialog) when refused.
  bool Apply(int Row, const std::string& Text);
  // Edits the selected row in the text editor, starting with Initial all selected.
  void BeginEdit(const std::string& Initial);
  // Edits the selected row in its natural editor: the drop-down (opened) for rows with choices,
  // else the text editor with the value.
  void EditRow();
  void CancelEdit();
  bool CommitEdit();
  // A choice made in the drop-down (the item's text).
  void ChoiceMade();
  // Opens the colour dialog on a colour row and applies what it returns.
  void PickColor();

  TRect RowRect(int Index) const;  // client coordinates; empty when scrolled out of view
  TRect ValueRect(int Index) const;
  int TopRow() const { return FTopRow; }
  void SetTopRow(int Value);
  int VisibleRows() const;
  // The scroll bar at the right of the rows (empty when every row fits).
  TRect ScrollBarRect() const;
  static constexpr int kHeaderHeight = 30;
  static constexpr int kRowHeight = 20;
  static constexpr int kMessageHeight = 52;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 private:
  struct TRow {
    std::string Path;
    const TPropInfo* Prop;
  };
  void AddRows(const TPersistent* Obj, const std::string& Prefix);
  void ScrollIntoView();
  void StepValue(int Row);
  void SetMessage(const std::string& Text, bool IsError);
  void PlaceEditors();
  void FillChoices(int Row);
  void EndEdit();
  int RowsWidth() const;

  TComponent* FSubject = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TRow> FRows;
  int FRow = -1;
  int FTopRow = 0;
  bool FEditing = false;
  bool FApplying = false;  // a commit is running (the dialog may move the focus meanwhile)
  std::string FMessage;
  bool FMessageIsError = false;
  int FNameWidth = 110;
  TComboBox* FPicker;
  TInspectorEdit* FEdit;
  TInspectorChoice* FChoice;
  std::unique_ptr<widgetpaint::TListScrollInput> FScroll;
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
  bool SelectsOnPress() const override { return true; }

 protected:
  // A press anywhere on the page selects the component it lands on (or the one holding it).
  void PreviewMouseDown(TControl* Hit) override;

 private:
  std::vector<TGalleryPageSource> FPages;
  TPageList* FList;
  TPropertyPanel* FPanel;
  TGalleryPage* FPage = nullptr;
};

}  // namespace qel
