#include "apps/gallery/RepListDemo.h"

#include <cstdio>
#include <filesystem>
#include <iterator>

#include "platform/controls/Properties.h"

namespace qel {

namespace {

constexpr const char* kChannels[] = {"CH1", "CH2", "CH3", "CH4", "CH5", "CH6", "CH7", "CH8"};
constexpr const char* kUnits[] = {"V", "mA", "kPa", "degC", "Hz", "bar"};
constexpr const char* kOperators[] = {"Ada", "Brent", "Chiara", "Dmitri", "Elif", "Farid"};
constexpr const char* kNotes[] = {
    "", "drift", "recalibrated", "spike at start", "", "sensor swap", "ok", "warm-up", "noisy", ""};
constexpr const char* kModes[] = {"Simple", "Boolean (AND OR NOT)", "Regular expression"};

// A small deterministic generator: the same records on every start.
struct TLcg {
  uint32_t State;
  uint32_t Next() {
    State = State * 1664525u + 1013904223u;
    return State >> 8;
  }
};

}  // namespace

void FillMeasurementRecords(TReportListView* List, int Rows) {
  const bool was = List->GetSuppressPaint();
  List->SetSuppressPaint(true);
  List->SetNrCols(10);
  List->SetNrRows(0);
  List->SetNrRows(Rows);
  struct TCol {
    const char* Name;
    const char* Format;
    int Width;
    TAlignment Align;
  };
  const TCol cols[] = {{"No", "[#i]", 48, taRightJustify},
                       {"Time", "[dHH:mm:ss]", 60, taCenter},
                       {"Channel", "[l:8]CH1|CH2|CH3|CH4|CH5|CH6|CH7|CH8", 56, taLeftJustify},
                       {"Value", "[f]0", 70, taRightJustify},
                       {"Unit", "[c]V|mA|kPa|degC|Hz|bar", 40, taLeftJustify},
                       {"Valid", "[s]", 76, taLeftJustify},
                       {"Ref", "[s]", 34, taLeftJustify},
                       {"Operator", "[s]", 64, taLeftJustify},
                       {"PIN", "[s]$pwd$6", 50, taLeftJustify},
                       {"Comment", "[s]", 120, taLeftJustify}};
  for (int c = 1; c <= 10; ++c) {
    const TCol& k = cols[c - 1];
    List->SetColName(c, k.Name);
    List->SetColumnFormat(c, k.Format);
    List->SetColAlignment(c, k.Align);
    List->SetColWidths(c, k.Width);
  }
  List->SetColCheckMode(6, cmBox);
  List->SetColCheckMode(7, cmRadio);
  List->SetColumnIsPwd(9, true);
  for (int c : {8, 10}) List->SetColumnEditable(c, true);
  TLcg rng{12345};
  char buf[32];
  for (int r = 1; r <= Rows; ++r) {
    List->SetElem(1, r, std::to_string(r));
    const int seconds = (r * 7) % 86400;
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    List->SetElem(2, r, buf);
    const int ch = static_cast<int>(rng.Next() % std::size(kChannels));
    List->SetElem(3, r, kChannels[ch]);
    std::snprintf(buf, sizeof buf, "%.3f",
                  (static_cast<int>(rng.Next() % 2000000) - 1000000) / 1000.0);
    List->SetElem(4, r, buf);
    List->SetElem(5, r, kUnits[ch % std::size(kUnits)]);
    List->SetElem(6, r, rng.Next() % 5 ? "passed" : "check");
    List->SetElemChecked(6, r, rng.Next() % 3 != 0);
    List->SetElem(7, r, "");
    List->SetElem(8, r, kOperators[rng.Next() % std::size(kOperators)]);
    std::snprintf(buf, sizeof buf, "%06u", rng.Next() % 1000000u);
    List->SetElem(9, r, buf);
    List->SetElem(10, r, kNotes[rng.Next() % std::size(kNotes)]);
    if (r % 50 == 0) List->SetRowEnabled(r, false);
  }
  if (Rows >= 1) List->SetElemChecked(7, 1, true);
  List->SetSuppressPaint(was);
}

// ---------------------------------------------------------------- TRepListDemo

TRepListDemo::TRepListDemo(TComponent* AOwner) : TPanel(AOwner) {
  SetBounds(0, 0, 550, 78);
  SetBevelOuter(bvNone);
  auto* label = new TLabel(this);
  label->SetParent(this);
  label->SetBounds(0, 6, 36, 16);
  label->SetCaption("Filter:");
  FFilter = new TEdit(this);
  FFilter->SetParent(this);
  FFilter->SetBounds(40, 2, 180, 22);
  FFilter->OnKeyPress = [this](TObject*, char32_t& Key) {
    if (Key == 13) {
      Key = 0;
      Guarded("Filter", &TRepListDemo::ApplyFilter);
    }
  };
  FMode = new TComboBox(this);
  FMode->SetParent(this);
  FMode->SetBounds(226, 2, 150, 22);
  FMode->SetStyle(csDropDownList);
  for (const char* m : kModes) FMode->GetItems()->Add(m);
  FMode->SetItemIndex(0);
  AddButton("Filter", 382, 1, 60, &TRepListDemo::ApplyFilter);
  AddButton("Save XML", 0, 30, 74, &TRepListDemo::SaveXML);
  AddButton("Load XML", 78, 30, 74, &TRepListDemo::LoadXML);
  AddButton("Export CSV", 156, 30, 80, &TRepListDemo::ExportCSV);
  AddButton("Import CSV", 240, 30, 80, &TRepListDemo::ImportCSV);
  AddButton("Export HTML", 324, 30, 86, &TRepListDemo::ExportHTML);
  AddButton("Edit row\u2026", 414, 30, 80, &TRepListDemo::EditRow);
  FStatus = new TLabel(this);
  FStatus->SetParent(this);
  FStatus->SetBounds(0, 60, 550, 16);
}

TButton* TRepListDemo::AddButton(const std::string& Caption, int Left, int Top, int Width,
                                 void (TRepListDemo::*Action)()) {
  auto* b = new TButton(this);
  b->SetParent(this);
  b->SetBounds(Left, Top, Width, 25);
  b->SetCaption(Caption);
  b->OnClick = [this, Caption, Action](TObject*) { Guarded(Caption, Action); };
  return b;
}

void TRepListDemo::SetList(TReportListView* Value) {
  if (Value == FList) return;
  if (FList) FList->RemoveFreeNotification(this);
  FList = Value;
  if (FList) FList->FreeNotification(this);
}

void TRepListDemo::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FList) FList = nullptr;
}

void TRepListDemo::Loaded() {
  TPanel::Loaded();
  if (!FList) return;
  FillMeasurementRecords(FList, FRecords);
  HookList();
  SetStatus(std::to_string(FList->GetNrOfRows()) +
            " records. Click a header to sort, Ctrl/Shift+click to select, F2 edits Operator "
            "and Comment.");
}

void TRepListDemo::HookList() {
  FList->OnSelectedChange = [this](TObject*) {
    const int n = FList->NumSelectedRows();
    if (n > 0)
      SetStatus(std::to_string(n) + " selected; first: No " +
                FList->GetElem(1, FList->FirstSelectedRow()));
  };
  FList->OnCheckedChange = [this](TObject*, bool&, int C, int R) {
    SetStatus(FList->GetColName(C) + " of No " + FList->GetElem(1, R) +
              (FList->GetElemChecked(C, R) ? " checked" : " cleared"));
  };
}

void TRepListDemo::SetStatus(const std::string& Text) {
  FStatusText = Text;
  FStatus->SetCaption(Text);
}

void TRepListDemo::Guarded(const std::string& What, void (TRepListDemo::*Action)()) {
  if (!FList) return;
  try {
    (this->*Action)();
  } catch (const Exception& e) {
    SetStatus(What + " failed: " + e.Message);
  } catch (const std::exception& e) {
    SetStatus(What + " failed: " + e.what());
  }
}

std::string TRepListDemo::DemoFile(const std::string& Extension) {
  return (std::filesystem::temp_directory_path() / ("qel-replist-demo." + Extension)).string();
}

void TRepListDemo::ApplyFilter() {
  const TFilterMode mode = static_cast<TFilterMode>(std::clamp(FMode->GetItemIndex(), 0, 2));
  const int sortCol = FList->GetSortColumn() > 0 ? FList->GetSortColumn() : 1;
  const int kept =
      FList->FilterAndSort(FFilter->GetText(), {}, false, mode, sortCol, FList->GetSortOrder());
  SetStatus(std::to_string(kept) + " of " + std::to_string(FList->GetNrOfRows()) +
            " records match, shown first");
}

int TRepListDemo::RowToEdit() const {
  if (const int r = FList->FirstSelectedRow(); r > 0) return r;
  const int r = FList->DataRowOfGridRow(FList->GetRow());
  return r >= 1 && r <= FList->GetNrOfRows() ? r : 0;
}

void TRepListDemo::EditRow() {
  const int r = RowToEdit();
  if (r == 0) {
    SetStatus("Select a row to edit first");
    return;
  }
  // The dialog opens over the list's top-left corner.
  const TPoint at = FList->ClientToScreen({40, 40});
  const std::string no = FList->GetElem(1, r);
  if (FList->EditRowEntries(r, at.X, at.Y) == mrOk)
    SetStatus("Record No " + no + " saved from the row editor");
  else
    SetStatus("Record No " + no + " left as it was");
}

void TRepListDemo::SaveXML() {
  const std::string f = DemoFile("xml");
  FList->SaveAsXMLFile(f, "measurements");
  SetStatus("Saved " + std::to_string(FList->GetNrOfRows()) + " records to " + f);
}

void TRepListDemo::LoadXML() {
  const std::string f = DemoFile("xml");
  FList->LoadFromXMLFile(f, "measurements");
  SetStatus("Loaded " + std::to_string(FList->GetNrOfRows()) + " records from " + f);
}

void TRepListDemo::ExportCSV() {
  const std::string f = DemoFile("csv");
  FList->ExportCSV(f, csvSemicolon, true, true, 1, 1, FList->GetNrOfColumns(),
                   FList->GetNrOfRows());
  SetStatus("Exported " + std::to_string(FList->GetNrOfRows()) + " records to " + f);
}

void TRepListDemo::ImportCSV() {
  const std::string f = DemoFile("csv");
  FList->ImportCSV(f, csvSemicolon, true);
  SetStatus("Imported " + std::to_string(FList->GetNrOfRows()) + " records from " + f);
}

void TRepListDemo::ExportHTML() {
  const std::string f = DemoFile("html");
  std::vector<int> widths;
  for (int c = 1; c <= FList->GetNrOfColumns(); ++c) widths.push_back(FList->GetColWidths(c));
  FList->ExportHTMLTable(f, 1, 1, FList->GetNrOfColumns(), std::min(FList->GetNrOfRows(), 1000),
                         widths, 1, 2, 0, true, "", "First 1000 records", "");
  SetStatus("Exported the first 1000 records as a table to " + f);
}

void RegisterRepListDemoClasses() {
  RegisterRepListClasses();
  RegisterClass<TRepListDemo>("TRepListDemo", "TPanel")
      .Default("BevelOuter", bvNone)
      .Component<TReportListView>("List", &TRepListDemo::GetList, &TRepListDemo::SetList)
      .Prop("Records", &TRepListDemo::GetRecords, &TRepListDemo::SetRecords, 100000);
}

}  // namespace qel
