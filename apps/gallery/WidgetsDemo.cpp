#include "apps/gallery/WidgetsDemo.h"

#include <vector>

#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/DateTime.h"

namespace qel {

void TDateMaskEdit::ValidateEdit() {
  TMaskEdit::ValidateEdit();
  // The digit groups of the text, blanks of the mask dropped.
  std::vector<std::string> groups(1);
  for (char c : GetText()) {
    if (c >= '0' && c <= '9')
      groups.back() += c;
    else if (!groups.back().empty())
      groups.emplace_back();
  }
  if (groups.back().empty()) groups.pop_back();
  if (groups.empty()) return;
  TDateTime d = 0;
  auto number = [](const std::string& S) { return S.size() <= 4 ? std::stoi(S) : -1; };
  if (groups.size() == 3 &&
      TryEncodeDate(number(groups[2]), number(groups[1]), number(groups[0]), d))
    return;
  MessageBeep(0);
  SelectAll();
  throw EConvertError("'" + GetText() +
                      "' is not a valid date: type the day, the month and the year, as 24-06-2026");
}

void RegisterWidgetsDemoClasses() {
  RegisterMaskClasses();
  RegisterClass<TDateMaskEdit>("TDateMaskEdit", "TMaskEdit");
}

}  // namespace qel
