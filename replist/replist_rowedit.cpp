// The row-entry editor of the report-list view: a dialog generated from the column formats, one
// labelled control per column, and the scanner that reads a cell's date text by the pattern of
// its date picker.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "frame/QEL_stringl.h"
#include "numio/QEL_NumIO.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/StrUtils.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/StdCtrls.h"
#include "replist/QEL_replist.h"

namespace qel {

namespace {

// ---------------------------------------------------------------- the date scanner

bool IsTokenLetter(char C) {
  return C == 'y' || C == 'M' || C == 'd' || C == 'H' || C == 'h' || C == 'm' || C == 's' ||
         C == 't';
}

bool StartsWithText(std::string_view Text, std::string_view Prefix) {
  return !Prefix.empty() && Text.size() >= Prefix.size() &&
         SameText(std::string(Text.substr(0, Prefix.size())), std::string(Prefix));
}

// The scanner's state: the text still to read and the fields read so far.
struct TDateScan {
  std::string_view Rest;
  int Year = -1, Month = -1, Day = -1;
  int Hour = 0, Min = 0, Sec = 0;
  bool TwelveHour = false;
  bool PM = false;

  // The next Count characters (fewer at the end of the text), consumed.
  std::string_view Take(size_t Count) {
    std::string_view s = Rest.substr(0, std::min(Count, Rest.size()));
    Rest.remove_prefix(s.size());
    return s;
  }
  // A fixed-width field; false unless it is all digits.
  bool Fixed(size_t Count, int& Value) {
    std::string_view s = Take(Count);
    if (s.empty()) return false;
    Value = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return false;
      Value = Value * 10 + (c - '0');
    }
    return true;
  }
  // A run of digits; false when there is none. Absurdly long runs saturate (they fail the
  // range checks later).
  bool Digits(int& Value) {
    size_t n = 0;
    Value = 0;
    while (n < Rest.size() && Rest[n] >= '0' && Rest[n] <= '9') {
      if (Value < 1000000) Value = Value * 10 + (Rest[n] - '0');
      ++n;
    }
    Rest.remove_prefix(n);
    return n > 0;
  }
  // Fixed width for a doubled letter, a digit run for a single one.
  bool Number(int Run, int& Value) { return Run == 2 ? Fixed(2, Value) : Digits(Value); }
  // The longest English name that the text begins with (long names before short ones, so
  // "June" is not read as "Jun"); 0 when none.
  template <size_t N>
  int Name(const std::array<const char*, N>& Long, const std::array<const char*, N>& Short) {
    for (const auto* table : {&Long, &Short})
      for (size_t i = 1; i < N; ++i)
        if (StartsWithText(Rest, (*table)[i])) {
          Rest.remove_prefix(std::string_view((*table)[i]).size());
          return static_cast<int>(i);
        }
    return 0;
  }
};

// Reads the literal that starts at Pattern[I] (a quoted part, or characters up to the next
// token letter or quote) and moves I behind it.
std::string ReadLiteral(const std::string& Pattern, size_t& I) {
  std::string lit;
  const size_t n = Pattern.size();
  if (Pattern[I] == '\'') {
    ++I;
    while (I < n) {
      if (Pattern[I] == '\'') {
        if (I + 1 < n && Pattern[I + 1] == '\'') {
          lit += '\'';
          I += 2;
          continue;
        }
        ++I;
        break;
      }
      lit += Pattern[I++];
    }
    return lit;
  }
  while (I < n && Pattern[I] != '\'' && !IsTokenLetter(Pattern[I])) lit += Pattern[I++];
  return lit;
}

// One token: a run of Run letters C.
int ScanToken(TDateScan& S, char C, int Run, int CurrentYear, int Window) {
  constexpr int lg = lgEnglish;
  int v = 0;
  switch (C) {
    case 'y':
      if (Run == 4) {
        if (!S.Fixed(4, v)) return kDateScanField;
        S.Year = v;
      } else if (Run == 2) {
        if (!S.Fixed(2, v)) v = 0;  // a bad two-digit year reads as 0
        // Floor to the century, also for a window reaching before year 0.
        const int start = CurrentYear - Window;
        const int century = (start >= 0 ? start : start - 99) / 100 * 100;
        S.Year = century + v;
        if (Window != 0 && S.Year < start) S.Year += 100;
      } else {
        return kDateScanToken;
      }
      return kDateScanOk;
    case 'M':
      if (Run > 4) return kDateScanToken;
      if (Run >= 3) {
        S.Month = S.Name(MonthLong[lg], MonthShort[lg]);
        return S.Month ? kDateScanOk : kDateScanField;
      }
      if (!S.Number(Run, v)) return kDateScanField;
      S.Month = v;
      return kDateScanOk;
    case 'd':
      if (Run > 4) return kDateScanToken;
      if (Run >= 3) {
        S.Name(WeekDayLong[lg], WeekDayShort[lg]);  // the weekday follows from the date
        return kDateScanOk;
      }
      if (!S.Number(Run, v)) return kDateScanField;
      S.Day = v;
      return kDateScanOk;
    case 't': {
      if (Run > 2) return kDateScanToken;
      const std::string s = LowerCase(std::string(S.Take(static_cast<size_t>(Run))));
      S.PM = !(s == "a" || s == "am");
      return kDateScanOk;
    }
    default: {  // H h m s
      if (Run > 2) return kDateScanToken;
      if (!S.Number(Run, v)) return kDateScanField;
      if (C == 'H' || C == 'h') {
        S.Hour = v;
        if (C == 'h') S.TwelveHour = true;
      } else if (C == 'm') {
        S.Min = v;
      } else {
        S.Sec = v;
      }
      return kDateScanOk;
    }
  }
}

int ScanAll(TDateScan& S, const std::string& Pattern, int CurrentYear, int Window,
            TDateTime& Value) {
  size_t i = 0;
  while (i < Pattern.size()) {
    const char c = Pattern[i];
    if (!IsTokenLetter(c)) {
      const std::string lit = ReadLiteral(Pattern, i);
      if (S.Rest.substr(0, lit.size()) != lit) return kDateScanLiteral;
      S.Rest.remove_prefix(lit.size());
      continue;
    }
    size_t j = i;
    while (j < Pattern.size() && Pattern[j] == c) ++j;
    const int run = static_cast<int>(std::min<size_t>(j - i, 100));
    i = j;
    if (const int e = ScanToken(S, c, run, CurrentYear, Window); e != kDateScanOk) return e;
  }
  if (S.TwelveHour) {
    if (!S.PM && S.Hour == 12)
      S.Hour = 0;
    else if (S.PM && S.Hour != 12)
      S.Hour += 12;
  }
  TDateTime time = 0;
  if (!TryEncodeTime(S.Hour, S.Min, S.Sec, 0, time)) return kDateScanField;
  if (S.Year < 0 && S.Month < 0 && S.Day < 0) {
    Value = time;
    return kDateScanOk;
  }
  TDateTime date = 0;
  if (!TryEncodeDate(S.Year < 0 ? CurrentYear : S.Year, S.Month < 0 ? 1 : S.Month,
                     S.Day < 0 ? 1 : S.Day, date))
    return kDateScanField;
  Value = ComposeDateTime(date, time);
  return kDateScanOk;
}

// ---------------------------------------------------------------- the editor's recipe

constexpr int kRowPitch = 25;
constexpr int kOwnFormTopMargin = 45;
constexpr int kFormBottomRoom = 38;
constexpr int kFormSideRoom = 28;
constexpr int kDefaultControlWidth = 200;
// Wider controls would make forms no window system can show (and sums that overflow).
constexpr int kMaxControlWidth = 4096;
constexpr int kMaxOffset = 1 << 20;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 29;
constexpr TColor kReadOnlyColor = 0xE0E0E0;
constexpr TColor kReadOnlyFontColor = 0x808080;

constexpr const char* kRuntimePrefix = "runtime_rlre_";
constexpr const char* kLabelName = "runtime_rlre_Label";
constexpr const char* kComboName = "runtime_rlre_CBox";
constexpr const char* kPickerName = "runtime_rlre_DtPick";
constexpr const char* kNumIOName = "runtime_rlre_NumIO";
constexpr const char* kEditName = "runtime_rlre_Edit";

// What a column format says about its control.
struct TEditRecipe {
  bool ReadOnly = false;
  std::string Type = "s";  // the type letter first, then its own text
  int Width = kDefaultControlWidth;
  std::string Default;
  char Letter() const { return Type.empty() ? '\0' : Type[0]; }
};

TEditRecipe RecipeOf(std::string F) {
  TEditRecipe r;
  const size_t open = F.find('['), close = F.find(']');
  if (open != std::string::npos && close != std::string::npos && open < close)
    r.Type = F.substr(open + 1, close - open - 1);
  if (!r.Type.empty() && r.Type[0] == '#') {
    r.ReadOnly = true;
    r.Type.erase(0, 1);
  }
  if (close != std::string::npos) F.erase(0, close + 1);
  // The width part, and with it everything up to its "]", as the store's defaults read it.
  if (const size_t close2 = F.find(']'); close2 != std::string::npos) {
    const size_t open2 = F.find('[');
    int32_t w = 0;
    if (open2 != std::string::npos && open2 < close2 &&
        TryStrToInt(Trim(F.substr(open2 + 1, close2 - open2 - 1)), w) && w >= 1)
      r.Width = std::min<int>(w, kMaxControlWidth);
    F.erase(0, close2 + 1);
  }
  r.Default = F;
  return r;
}

bool NameHas(const TComponent* C, const char* Part) {
  return C->GetName().find(Part) != std::string::npos;
}

// Whether the picker's pattern shows no date, so it wants spin buttons rather than a calendar.
bool TimeOnlyPattern(const std::string& Pattern) {
  bool time = false;
  for (const TDTPatternItem& it : ParseDTPattern(Pattern)) {
    switch (it.Kind) {
      case fkLiteral:
        break;
      case fkHour12:
      case fkHour24:
      case fkMinute:
      case fkSecond:
      case fkAmPm:
        time = true;
        break;
      default:
        return false;
    }
  }
  return time;
}

// Frees the editor's controls (last to first) and its own form whatever ends the run, and
// lets the view forget the form.
class TRowEditRun {
 public:
  TRowEditRun(TForm*& ViewRef, TForm* Form, bool Own)
      : FViewRef(ViewRef), FPrevious(ViewRef), FForm(Form), FOwn(Own) {
    FViewRef = Form;
  }
  ~TRowEditRun() {
    // Freeing one component may take others with it, so the index is checked every time.
    for (int i = FForm->ComponentCount() - 1; i >= 0; --i) {
      if (i >= FForm->ComponentCount()) continue;
      TComponent* c = FForm->Components(i);
      if (NameHas(c, kRuntimePrefix)) delete c;
    }
    if (FOwn) delete FForm;
    FViewRef = FPrevious;
  }
  TRowEditRun(const TRowEditRun&) = delete;
  TRowEditRun& operator=(const TRowEditRun&) = delete;

 private:
  TForm*& FViewRef;
  TForm* FPrevious;
  TForm* FForm;
  bool FOwn;
};

}  // namespace

int ScanDateTimeText(const std::string& Text, const std::string& Pattern, TDateTime& Value,
                     int CurrentYear, int CenturyWindow) {
  Value = 0;
  TDateScan s;
  s.Rest = Text;
  TDateTime v = 0;
  const int e = ScanAll(s, Pattern, CurrentYear, CenturyWindow, v);
  if (e == kDateScanOk) Value = v;
  return e;
}

int ScanDateTimeText(const std::string& Text, const std::string& Pattern, TDateTime& Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Date(), y, m, d);
  return ScanDateTimeText(Text, Pattern, Value, y, GetFormatSettings().TwoDigitYearCenturyWindow);
}

// ---------------------------------------------------------------- TReportListView

TModalResult TReportListView::EditRowEntries(int Row, int X, int Y) {
  return EditRowEntriesIntern(Row, nullptr, X, Y, "Editing Row " + std::to_string(Row), "OK",
                              "Cancel");
}

TModalResult TReportListView::EditRowEntries(int Row, int X, int Y, const std::string& Caption,
                                             const std::string& OKCaption,
                                             const std::string& CancelCaption) {
  return EditRowEntriesIntern(Row, nullptr, X, Y, Caption, OKCaption, CancelCaption);
}

TModalResult TReportListView::EditRowEntries(int Row, TForm* Form, int X, int Y) {
  return EditRowEntriesIntern(Row, Form, X, Y, "", "", "");
}

void TReportListView::RowEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift) {
  if (!FRowEditForm || (Key != VK_RETURN && Key != VK_ESCAPE)) return;
  if (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
  // An open list or calendar takes Enter and Esc for itself first.
  for (auto* c = dynamic_cast<TControl*>(Sender); c; c = c->GetParent()) {
    if (auto* cb = dynamic_cast<TCustomComboBox*>(c); cb && cb->GetDroppedDown()) return;
    if (auto* dp = dynamic_cast<TDateTimePicker*>(c); dp && dp->GetDroppedDown()) return;
  }
  FRowEditForm->SetModalResult(Key == VK_RETURN ? mrOk : mrCancel);
  Key = 0;
}

TModalResult TReportListView::EditRowEntriesIntern(int Row, TForm* Form, int X, int Y,
                                                   const std::string& Caption,
                                                   const std::string& OKCaption,
                                                   const std::string& CancelCaption) {
  // Nothing to edit: a dialog would show defaults for a row that cannot take them.
  if (!ValidRow(Row)) return mrNone;
  const bool own = Form == nullptr;
  if (own) Form = new TForm(Application);
  TRowEditRun run(FRowEditForm, Form, own);
  if (own) {
    Form->SetBorderStyle(bsDialog);
    Form->SetColor(clBtnFace);
    Form->SetBounds(X, Y, Form->GetWidth(), Form->GetHeight());
  }
  // Offsets beyond any screen are cut, so the positions below cannot overflow.
  const int offX = own ? 0 : std::clamp(X, -kMaxOffset, kMaxOffset);
  const int offY = own ? kOwnFormTopMargin : std::clamp(Y, -kMaxOffset, kMaxOffset);
  const int cols = GetNrOfColumns();

  int lw = 0;
  for (int k = 1; k <= cols; ++k) lw = std::max(lw, Form->Canvas()->TextWidth(GetColName(k)));
  lw += 8;

  auto keys = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
    RowEditKeyDown(Sender, Key, Shift);
  };
  // Pickers whose text did not read (they show date 0) with the value they started from: the
  // cell keeps its text unless the user picked a date.
  std::vector<std::pair<const TDateTimePicker*, TDateTime>> unread;
  int cw = 0;
  for (int k = 1; k <= cols; ++k) {
    std::string format = GetColumnFormat(k);
    if (OnRequestEditFormat) OnRequestEditFormat(this, k, Row, format);
    const TEditRecipe r = RecipeOf(format);
    const int top = offY + kRowPitch * (k - 1);
    const std::string nr = std::to_string(k);

    auto* label = new TLabel(Form);
    label->SetName(kLabelName + nr);
    label->SetParent(Form);
    label->SetAutoSize(false);
    label->SetAlignment(taRightJustify);
    label->SetCaption(GetColName(k) + ":");
    label->SetBounds(offX + 8, top + 3, lw, label->GetHeight());

    const std::string cell = GetElem(k, Row);
    TWinControl* control = nullptr;
    switch (const char letter = r.Letter()) {
      case 'c':
      case 'l': {
        auto* cb = new TComboBox(Form);
        cb->SetName(kComboName + nr);
        cb->SetParent(Form);
        cb->SetStyle(letter == 'c' ? csDropDown : csDropDownList);
        const std::string items = EnsureTrailingChar(r.Default, '|');
        for (size_t from = 0; from < items.size();) {
          const size_t bar = items.find('|', from);
          cb->GetItems()->Add(items.substr(from, bar - from));
          from = bar + 1;
        }
        if (const size_t colon = r.Type.find(':'); colon != std::string::npos) {
          int32_t n = 0;
          if (TryStrToInt(Trim(r.Type.substr(colon + 1)), n)) cb->SetDropDownCount(n);
        }
        if (letter == 'c') {
          cb->SetText(cell);
        } else {
          // Only the item the cell names exactly, letter case included.
          const TStrings* list = cb->GetItems();
          int found = -1;
          for (int i = 0; i < list->GetCount() && found < 0; ++i)
            if (list->Get(i) == cell) found = i;
          cb->SetItemIndex(found);
        }
        if (!r.ReadOnly && cb->EditControl()) cb->EditControl()->OnKeyDown = keys;
        control = cb;
        break;
      }
      case 'd': {
        auto* dp = new TDateTimePicker(Form);
        dp->SetName(kPickerName + nr);
        dp->SetParent(Form);
        const std::string pattern = r.Type.substr(1);
        if (TimeOnlyPattern(pattern)) dp->SetKind(dtkTime);
        dp->SetFormat(pattern);
        const std::string text = cell.empty() ? r.Default : cell;
        TDateTime v = 0;
        const bool read = ScanDateTimeText(text, dp->EffectivePattern(), v) == kDateScanOk;
        dp->SetDateTime(v);
        if (!read) unread.push_back({dp, dp->GetDateTime()});
        control = dp;
        break;
      }
      case 'e':
      case 'f':
      case 'h':
      case 'i': {
        auto* nio = new TNumIO(Form);
        nio->SetName(kNumIOName + nr);
        nio->SetParent(Form);
        nio->SetRangeLow(-1.7e308);
        nio->SetRangeHigh(1.7e308);
        nio->SetInputFormat(letter == 'e'   ? itExp
                            : letter == 'f' ? itFloat
                            : letter == 'h' ? itHex
                                            : itInt);
        // The cell's text as it stands, even one the notation refuses: nothing is lost.
        nio->SetEditText(cell.empty() ? ResolveDefaultText(letter, r.Default, Row) : cell);
        control = nio;
        break;
      }
      case 's': {
        auto* ed = new TEdit(Form);
        ed->SetName(kEditName + nr);
        ed->SetParent(Form);
        ed->SetText(cell.empty() ? ResolveDefaultText('s', r.Default, Row) : cell);
        control = ed;
        break;
      }
      default:
        break;  // an unknown type: the label alone, the cell is not written
    }
    if (!control) continue;
    control->SetTag(k);
    control->SetBounds(offX + lw + 12, top, r.Width, control->GetHeight());
    if (r.ReadOnly) {
      control->SetEnabled(false);
      control->SetColor(kReadOnlyColor);
      control->GetFont()->SetColor(kReadOnlyFontColor);
    } else {
      control->OnKeyDown = keys;
    }
    cw = std::max(cw, r.Width);
  }

  const int g = cw + lw;
  const int rowsHeight = cols * kRowPitch + kFormBottomRoom;
  if (own) {
    Form->SetBounds(X, Y, g + kFormSideRoom, rowsHeight + kOwnFormTopMargin);
    auto button = [&](const char* Name, const std::string& Text, int Left, TModalResult Result) {
      auto* b = new TSpeedButton(Form);
      b->SetName(Name);
      b->SetParent(Form);
      b->SetCaption(Text);
      b->SetBounds(Left, 4, kButtonWidth, kButtonHeight);
      b->OnClick = [this, Result](TObject*) {
        if (FRowEditForm) FRowEditForm->SetModalResult(Result);
      };
    };
    button("runtime_rlre_Cancel", CancelCaption, g - 69, mrCancel);
    button("runtime_rlre_OK", OKCaption, g - 154, mrOk);
  } else {
    // The host's offset counts too, so no control is left outside the form.
    Form->SetBounds(Form->GetLeft(), Form->GetTop(),
                    std::max(Form->GetWidth(), offX + g + kFormSideRoom),
                    std::max(Form->GetHeight(), offY + rowsHeight));
  }
  Form->SetCaption(Caption);

  const TModalResult result = Form->ShowModal();
  if (result == mrOk) {
    const bool was = GetSuppressPaint();
    SetSuppressPaint(true);
    for (int i = 0; i < Form->ComponentCount(); ++i) {
      auto* c = dynamic_cast<TControl*>(Form->Components(i));
      if (!c) continue;
      const int col = static_cast<int>(c->GetTag());
      if (NameHas(c, kEditName) || NameHas(c, kNumIOName) || NameHas(c, kComboName))
        SetElem(col, Row, c->GetText());
      else if (auto* dp = dynamic_cast<TDateTimePicker*>(c); dp && NameHas(c, kPickerName)) {
        const auto u = std::find_if(unread.begin(), unread.end(),
                                    [dp](const auto& P) { return P.first == dp; });
        if (u == unread.end() || u->second != dp->GetDateTime())
          SetElem(col, Row, FormatDTPattern(dp->EffectivePattern(), dp->GetDateTime()));
      }
    }
    SetSuppressPaint(was);
  }
  return result;
}

}  // namespace qel
