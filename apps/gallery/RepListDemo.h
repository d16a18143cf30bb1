#pragma once
// The report-list page's helper: TRepListDemo is a tool bar for the report list it names. When
// loaded it fills the list with generated measurement records (typed columns, check and radio
// columns, a password column, some disabled rows); its filter box filters and sorts the list in
// the three filter modes, its buttons save and load the list as XML, export and import it as
// CSV and export it as an HTML table (files in the temporary folder), "Edit row…" opens the
// row-entry editor for the selected row, and its status line reports what happened, errors
// included.
#include <string>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "replist/QEL_replist.h"

namespace qel {

// Fills List with Rows generated measurement records and sets up its columns. Same Rows, same
// records.
void FillMeasurementRecords(TReportListView* List, int Rows);

class TRepListDemo : public TPanel {
 public:
  explicit TRepListDemo(TComponent* AOwner);
  std::string ClassName() const override { return "TRepListDemo"; }

  TReportListView* GetList() const { return FList; }
  void SetList(TReportListView* Value);
  int GetRecords() const { return FRecords; }
  void SetRecords(int Value) { FRecords = std::max(Value, 0); }
  const std::string& Status() const { return FStatusText; }
  void Loaded() override;

  // What the buttons do, callable from tests.
  void ApplyFilter();
  void SaveXML();
  void LoadXML();
  void ExportCSV();
  void ImportCSV();
  void ExportHTML();
  // Opens the row-entry editor for the selected row (else the row under the grid cursor).
  void EditRow();
  int RowToEdit() const;
  // Where the buttons put their files.
  static std::string DemoFile(const std::string& Extension);

  TEdit* FilterEdit() const { return FFilter; }
  TComboBox* ModeBox() const { return FMode; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TButton* AddButton(const std::string& Caption, int Left, int Top, int Width,
                     void (TRepListDemo::*Action)());
  void SetStatus(const std::string& Text);
  void HookList();
  // Runs an action, reporting its exception on the status line instead of a message box.
  void Guarded(const std::string& What, void (TRepListDemo::*Action)());

  TReportListView* FList = nullptr;
  int FRecords = 100000;
  TEdit* FFilter = nullptr;
  TComboBox* FMode = nullptr;
  TLabel* FStatus = nullptr;
  std::string FStatusText;
};

// Registers the report-list classes and TRepListDemo. Idempotent.
void RegisterRepListDemoClasses();

}  // namespace qel
