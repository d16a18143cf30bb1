#include "apps/gallery/MiniCalDemo.h"

#include "apps/gallery/DemoControls.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

TMiniCalReadout::TMiniCalReadout(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 400, 24);
}

TMiniCalReadout::~TMiniCalReadout() { SetCalendar(nullptr); }

void TMiniCalReadout::SetCalendar(TMiniCal* Value) {
  if (Value == FCalendar) return;
  if (FCalendar) RemoveFreeNotification(FCalendar);
  FCalendar = Value;
  if (FCalendar) FreeNotification(FCalendar);
  Invalidate();
}

void TMiniCalReadout::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCalendar) {
    FCalendar = nullptr;
    Invalidate();
  }
}

void TMiniCalReadout::Loaded() {
  TGraphicControl::Loaded();
  HookCalendars();
}

// Every calendar of the page reports its changes here and selects itself when clicked.
void TMiniCalReadout::HookCalendars() {
  TComponent* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* cal = dynamic_cast<TMiniCal*>(owner->Components(i));
    if (!cal) continue;
    if (cal->GetName() == "FrenchCal") {
      // Yearly holidays, and this year's bridge day after Ascension (Easter + 40).
      cal->AddRepeatHoliday(14, 7, "Fête nationale");
      cal->AddRepeatHoliday(31, 12, "Saint-Sylvestre");
      cal->AddRepeatHoliday(11, 11, "Armistice 1918");
      int d = 0, m = 0, y = 0;
      CalcEasterSunday(cal->GetYear(), d, m);
      DecodeDate(EncodeDate(cal->GetYear(), m, d) + 40, y, m, d);
      cal->AddHoliday(d, m, y, "Pont de l'Ascension");
    }
    cal->OnChange = [this, cal](TObject*) {
      SetCalendar(cal);
      Invalidate();
    };
    cal->OnClick = [cal](TObject*) {
      if (auto* f = dynamic_cast<TSelectingForm*>(cal->GetParentForm())) f->SelectComponent(cal);
    };
  }
}

std::string TMiniCalReadout::ReadoutText() const {
  if (!FCalendar) return "Pick a day in any calendar";
  const TMiniCal& c = *FCalendar;
  const int lang = CalLanguageIndex(c.GetLanguage());
  const int weekday = DayOfTheWeek(EncodeDate(c.GetYear(), c.GetMonth(), c.GetDay()));
  std::string name;
  const bool holiday = c.CheckHoliday(c.GetYear(), c.GetMonth(), c.GetDay(), name);
  return c.GetName() + ": " + WeekDayLong[lang][weekday] + " " + IntToStr(c.GetDay()) + " " +
         MonthLong[lang][c.GetMonth()] + " " + IntToStr(c.GetYear()) + " - " +
         (holiday ? name : std::string("no holiday"));
}

void TMiniCalReadout::Paint() {
  PaintStatusLine(Canvas(), GetClientRect(), GetFont(), ReadoutText());
}

void RegisterMiniCalDemoClasses() {
  RegisterMiniCalClasses();
  RegisterClass<TMiniCalReadout>("TMiniCalReadout", "TGraphicControl")
      .Component<TMiniCal>("Calendar", &TMiniCalReadout::GetCalendar,
                           &TMiniCalReadout::SetCalendar);
}

}  // namespace qel
