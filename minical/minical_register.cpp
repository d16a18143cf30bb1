// The published properties of TMiniCal, for form files, qel-render and the gallery's property
// panel. The grid's own layout properties (counts, sizes, options) are not published: the
// calendar fixes them itself.
#include "frame/QEL_frame_register.h"
#include "minical/QEL_MiniCal.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterMiniCalClasses() {
  RegisterFrameEnums();
  RegisterEnum<TDayOfWeek>("TDayOfWeek",
                           {"dwMon", "dwTue", "dwWed", "dwThu", "dwFri", "dwSat", "dwSun"});
  using C = TMiniCal;
  auto never = [](const C*) { return false; };
  RegisterClass<C>("TMiniCal", "TCustomControl")
      .Default("Width", 300)
      .Default("Height", 180)
      .Default("TabStop", true)
      .Default("ParentColor", false)
      // The date is today's whenever a form is loaded: its parts are not written.
      .PropNoDefault("Day", &C::GetDay, &C::SetDay)
      .Stored(never)
      .PropNoDefault("Month", &C::GetMonth, &C::SetMonth)
      .Stored(never)
      .PropNoDefault("Year", &C::GetYear, &C::SetYear)
      .Stored(never)
      .Enum("FirstDayOfWeek", &C::GetFirstDayOfWeek, &C::Set1stDayWeek, dwMon)
      .Enum("Language", &C::GetLanguage, &C::SetLanguage, lgEnglish)
      .Prop("AutoSwitch", &C::GetAutoSwitch, &C::SetAutoSwitch, true)
      .Prop("IndicateHolidays", &C::GetIndicateHolidays, &C::SetIndicateHolidays, true)
      .Prop("ShowHolidayHint", &C::GetShowHolidayHint, &C::SetFShowHDayHint, true)
      // With the holiday hint on, the hint is the selected day's holiday, not a setting. With it
      // off the hint is written even when empty: the calendar made for reading has already put
      // today's holiday there, which an absent line would leave.
      .NoDefault("Hint")
      .Stored([](const C* Cal) { return !Cal->GetShowHolidayHint(); })
      .Prop("ShowMovableHolidays", &C::GetShowMovableHolidays, &C::SetShowMovHDays, true)
      .Prop("MarkToday", &C::GetMarkToday, &C::SetMarkToday, true)
      .Prop("ShowMonthShort", &C::GetShowMonthShort, &C::SetMonthShort, true)
      .Prop("Ctl3D", &C::GetCtl3D, &C::SetCtl3D, true)
      .Color("ColorActiveMonth", &C::GetColorActiveMonth, &C::SetColorActiveMonth, 0x000000)
      .Color("ColorInactiveMonth", &C::GetColorInactiveMonth, &C::SetColorInactiveMonth, 0xC0C0C0)
      .Color("ColorWeekNoBg", &C::GetColorWeekNoBg, &C::SetColorWeekNoBg, 0xC0C0C0)
      .Color("ColorWeekNoFg", &C::GetColorWeekNoFg, &C::SetColorWeekNoFg, 0x000000)
      .Color("ColorDayIdBg", &C::GetColorDayIdBg, &C::SetColorDayIdBg, 0xC0C0C0)
      .Color("ColorDayIdFg", &C::GetColorDayIdFg, &C::SetColorDayIdFg, 0x000000)
      .Color("ColorSelectedBg", &C::GetColorSelectedBg, &C::SetColorSelectedBg, 0xD0A040)
      .Color("ColorSelectedFg", &C::GetColorSelectedFg, &C::SetColorSelectedFg, 0xFFFFFF)
      .Color("ColorHolidayBg", &C::GetColorHolidayBg, &C::SetColorHolidayBg, 0x9BD8F1)
      .Color("ColorHolidayFg", &C::GetColorHolidayFg, &C::SetColorHolidayFg, 0x0000C0)
      .Color("ColorToday", &C::GetColorToday, &C::SetColorToday, 0x0000FF);
}

}  // namespace qel
