#pragma once
// Helpers the view's sources share: a scope that suppresses painting while many cells or rows
// change (one repaint at the end), and a scope in which the storage reports no changes (for
// attribute bytes, which are selection state, not data, and for bulk rewrites that report once).
#include "replist/QEL_replist.h"

namespace qel {

class TPaintBatch {
 public:
  explicit TPaintBatch(TReportListView* V) : FView(V), FWas(V->GetSuppressPaint()) {
    V->SetSuppressPaint(true);
  }
  ~TPaintBatch() { FView->SetSuppressPaint(FWas); }  // clearing it repaints
  TPaintBatch(const TPaintBatch&) = delete;
  TPaintBatch& operator=(const TPaintBatch&) = delete;

 private:
  TReportListView* FView;
  bool FWas;
};

class TQuietStorage {
 public:
  explicit TQuietStorage(TStringArray* S) : FStorage(S), FSaved(std::move(S->OnChange)) {
    S->OnChange = nullptr;
  }
  ~TQuietStorage() { FStorage->OnChange = std::move(FSaved); }
  TQuietStorage(const TQuietStorage&) = delete;
  TQuietStorage& operator=(const TQuietStorage&) = delete;

 private:
  TStringArray* FStorage;
  TNotifyEvent FSaved;
};

}  // namespace qel
