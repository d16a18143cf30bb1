// The report-list gallery page: its 100,000 generated records survive a save and reload as XML
// and an export and import as CSV cell for cell, and a bad filter is reported on the status line
// without changing the list; "Edit row…" edits the selected record.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "apps/gallery/GalleryForm.h"
#include "apps/gallery/RepListDemo.h"
#include "platform/backends/headless/Headless.h"

namespace qel::test {
namespace {

// Every stored text (markers included), the counts and the names, in one string's hash.
size_t Fingerprint(TReportListView* L) {
  std::string all = std::to_string(L->GetNrOfColumns()) + "x" + std::to_string(L->GetNrOfRows());
  for (int c = 1; c <= L->GetNrOfColumns(); ++c) all += L->GetColName(c) + "\n";
  for (int r = 1; r <= L->GetNrOfRows(); ++r)
    for (int c = 1; c <= L->GetNrOfColumns(); ++c) {
      all += L->Data()->GetStoredElem(c, r);
      all += '\t';
    }
  return std::hash<std::string>()(all);
}

TEST(RepListPage, RecordsSurviveXmlAndCsvRoundTripsAndBadFiltersAreReported) {
  ResetHeadlessApplication();
  RegisterGalleryClasses();
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  int page = -1;
  for (int i = 0; i < form->PageCount(); ++i)
    if (form->PageSource(i).Stem == "replist") page = i;
  ASSERT_GE(page, 0);
  form->ShowPage(page);
  Application->ProcessMessages();
  auto* tools = dynamic_cast<TRepListDemo*>(form->Page()->FindComponent("RepListTools"));
  ASSERT_NE(tools, nullptr);
  TReportListView* list = tools->GetList();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetNrOfRows(), 100000);
  EXPECT_EQ(list->GetColCheckMode(6), cmBox);
  EXPECT_EQ(list->GetRowEnabled(50), false);

  const size_t before = Fingerprint(list);
  tools->SaveXML();
  list->Fill("x");
  tools->LoadXML();
  EXPECT_EQ(Fingerprint(list), before);
  tools->ExportCSV();
  list->Fill("y");
  tools->ImportCSV();
  EXPECT_EQ(Fingerprint(list), before);
  tools->ExportHTML();
  EXPECT_NE(tools->Status().find("qel-replist-demo.html"), std::string::npos);

  // "Edit row…" edits the selected record; its time cell reaches the picker and comes back.
  list->SelectRow(3);
  const std::string time = list->GetElem(2, 3);
  Application->OnModalShow = [](TForm* F) {
    EXPECT_EQ(F->GetCaption(), "Editing Row 3");
    dynamic_cast<TControl*>(F->FindComponent("runtime_rlre_Edit8"))->SetText("Grace");
    F->SetModalResult(mrOk);
  };
  tools->EditRow();
  Application->OnModalShow = nullptr;
  EXPECT_EQ(list->GetElem(8, 3), "Grace");
  EXPECT_EQ(list->GetElem(2, 3), time);
  EXPECT_NE(tools->Status().find("saved"), std::string::npos) << tools->Status();

  tools->FilterEdit()->SetText("(unclosed");
  tools->ModeBox()->SetItemIndex(2);
  THeadlessInput in(form);
  tools->FilterEdit()->SetFocus();
  in.PressKey(VK_RETURN);
  EXPECT_NE(tools->Status().find("position 1: missing )"), std::string::npos) << tools->Status();
  EXPECT_EQ(list->NumEnabledRows(), 100000);
  tools->FilterEdit()->SetText("CH3 and not Ada");
  tools->ModeBox()->SetItemIndex(1);
  in.PressKey(VK_RETURN);
  EXPECT_LT(list->NumEnabledRows(), 100000);
  EXPECT_EQ(list->GetElem(3, 1), "CH3");
  for (const char* ext : {"xml", "csv", "html"}) std::remove(TRepListDemo::DemoFile(ext).c_str());
  ResetHeadlessApplication();
}

}  // namespace
}  // namespace qel::test
