// Form files with the standard controls: the same contract as fuzz_formfile (any text reads or
// fails with EFormFileError, never crashes or leaks, and a read form writes text that reads back
// and writes the same text again), with the widget classes registered so their properties are
// read: a tree view's node lines, a picker's pattern and dates, a mask, a colour dialog's custom
// colours, popup menus with nested items and shortcut texts, controls referring to them, and
// grids, whose sizes a file may make far larger than int.
#include <cstdint>

#include "fuzz/FormRoundTrip.h"
#include "platform/backends/headless/Headless.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool ready = [] {
    qel::ResetHeadlessApplication();
    qel::RegisterTreeViewClasses();
    qel::RegisterDateTimeClasses();
    qel::RegisterDialogClasses();
    qel::RegisterMaskClasses();
    qel::RegisterMenuAndComboClasses();
    qel::RegisterGridClasses();
    return true;
  }();
  (void)ready;
  return qel::fuzz::CheckFormRoundTrip(Data, Size);
}
