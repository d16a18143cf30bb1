// The published properties of TNumIO, for form files, qel-render and the gallery's property
// panel. The edit's own properties come from TCustomEdit; the notation and range come before
// Text, and a form's text is checked once they are all read (Loaded).
#include "frame/QEL_frame_register.h"
#include "numio/QEL_NumIO.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterNumIOEditClasses() {
  RegisterStdWidgetClasses();
  RegisterFrameEnums();
  using T = TNumIO;
  RegisterClass<TNumIO>("TNumIO", "TCustomEdit")
      .Default("Cursor", crIBeam)  // the edit's pointer, as its constructor sets it
      .Prop("InputFormat", &T::GetInputFormat, &T::SetInputFormat, itDynamic)
      .Prop("DecPlaceSep", &T::GetDecPlaceSep, &T::SetDecPlaceSep, dpsSystem)
      .Prop("FixPointDecPlaces", &T::GetFixPointDecPlaces, &T::SetFixPointDecPlaces, 2)
      .Prop("RangeLow", &T::GetRangeLow, &T::SetRangeLow, 0.0)
      .Prop("RangeHigh", &T::GetRangeHigh, &T::SetRangeHigh, 0.0)
      .Prop("Beep", &T::GetBeep, &T::SetBeep, false)
      .Prop("Text", &TControl::GetText, &TControl::SetText, std::string());
}

}  // namespace qel
