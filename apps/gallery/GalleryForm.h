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
  // Shows Text in the message line (tinted when it is an error).
  void SetMessage(const std::string& Text, bool IsError);
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

// The middle of the gallery: the page on a margin of the work-space colour, stretched to the
// area but never below its own size (its extent as designed); when the area is smaller, scroll
// bars on the right and bottom edges scroll the page (arrows by a step, the track by a view,
// the thumb dragged, the wheel; Shift+wheel goes sideways).
class TPageArea : public TCustomControl {
 public:
  explicit TPageArea(TComponent* AOwner);
  ~TPageArea() override;
  std::string ClassName() const override { return "TPageArea"; }

  // Shows Page (made a child of the area's view) at least at Least; nullptr shows none.
  void SetPage(TControl* Page, TSize Least);
  TControl* Page() const { return FPage; }
  TSize Least() const { return FLeast; }
  // How far the page is scrolled, in pixels; set clamped to what the page needs.
  TPoint ScrollPos() const { return FScrollPos; }
  void SetScrollPos(TPoint Value);
  TPoint MaxScroll() const;
  // The part of the area the page shows in (the client area less the scroll bars).
  TRect ViewRect() const;
  // The scroll bars (area coordinates); empty when the page fits that way.
  TRect HorzBarRect() const;
  TRect VertBarRect() const;
  static constexpr int kMargin = 8;                                // around the page
  static constexpr int kBarSize = widgetpaint::ListScrollBarWidth;  // as the lists' bars
  static constexpr int kStep = 16;                                 // an arrow's step, pixels

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Whether each bar shows: a bar takes room from the other direction, which may then need
  // its own bar too.
  void BarsNeeded(bool& Horz, bool& Vert) const;
  // A bar as the lists' vertical one; the horizontal one with x and y swapped.
  widgetpaint::TListScrollBar Bar(bool Vertical) const;
  void Arrange();
  TSize Content() const;  // the page with its margins

  TWinControl* FView;  // clips the page to ViewRect
  TControl* FPage = nullptr;
  TSize FLeast{0, 0};
  TPoint FScrollPos{0, 0};
  std::unique_ptr<widgetpaint::TListScrollInput> FHorz, FVert;
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
  // The layout, shared with the tests that drive a real window: the page list on the left,
  // the inspector on the right, the page area between them. The default size shows every page
  // whole; the least size keeps every page list row and a usable inspector.
  static constexpr int kListWidth = 160;
  static constexpr int kPanelWidth = 300;
  static constexpr int kSaveButtonHeight = 25;
  static constexpr int kDefaultClientWidth = 1100;
  static constexpr int kDefaultClientHeight = 700;
  static constexpr int kMinClientWidth = kListWidth + kPanelWidth + 320;
  // Tall enough for every page list row above the save button.
  int MinClientHeight() const;

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
  TPageArea* Area() const { return FArea; }
  TButton* SaveButton() const { return FSave; }
  // The least size of the current page: its components' extent as designed (aligned ones take
  // their room along their edge, a client-aligned one a little) and its title.
  static TSize PageExtent(TGalleryPage* Page);
  // Writes the current page as a form file (qel-render --form renders it as shown); raises
  // EFCreateError / EWriteError.
  void SavePage(const std::string& FileName);
  // "Save page as...": asks for a file name (the page's stem in the working folder to begin
  // with), confirms replacing an existing file, saves, and reports in the inspector's message
  // line; errors go to the error dialog.
  void SavePageAs();
  void SelectComponent(TComponent* Component) override;
  bool SelectsOnPress() const override { return true; }
  // Ctrl+S saves the page as the button does.
  bool IsShortCut(uint16_t Key, TShiftState Shift) override;

 protected:
  // A press anywhere on the page selects the component it lands on (or the one holding it).
  void PreviewMouseDown(TControl* Hit) override;

 private:
  std::vector<TGalleryPageSource> FPages;
  TPageList* FList;
  TPropertyPanel* FPanel;
  TPageArea* FArea;
  TButton* FSave;
  TGalleryPage* FPage = nullptr;
};

}  // namespace qel
