#include "frame/QEL_qelbase.h"

namespace qel {

char CSVDelimiterChar(TCSVDelimiters Delimiter) {
  switch (Delimiter) {
    case csvSemicolon:
      return ';';
    case csvTab:
      return '\t';
    case csvSpace:
      return ' ';
    case csvComma:
    default:
      return ',';
  }
}

bool ApplyLogicOp(TLogicOp Op, bool A, bool B) {
  switch (Op) {
    case loAnd:
      return A && B;
    case loOr:
      return A || B;
    case loXor:
      return A != B;
    case loNone:
    default:
      return B;
  }
}

// The neutral language reads English, so a calendar set to it still shows names.
const std::array<std::array<const char*, 13>, kLanguageCount> MonthLong = {{
    {"", "January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"", "January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"", "Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"", "janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
     "octobre", "novembre", "décembre"},
    {"", "enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
     "octubre", "noviembre", "diciembre"},
}};

const std::array<std::array<const char*, 13>, kLanguageCount> MonthShort = {{
    {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"", "Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    {"", "janv", "févr", "mars", "avr", "mai", "juin", "juil", "août", "sept", "oct", "nov", "déc"},
    {"", "ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
}};

const std::array<std::array<const char*, 8>, kLanguageCount> WeekDayLong = {{
    {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"},
    {"", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"},
    {"", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"},
}};

const std::array<std::array<const char*, 8>, kLanguageCount> WeekDayShort = {{
    {"", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"", "Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"", "lun", "mar", "mer", "jeu", "ven", "sam", "dim"},
    {"", "lun", "mar", "mié", "jue", "vie", "sáb", "dom"},
}};

}  // namespace qel
