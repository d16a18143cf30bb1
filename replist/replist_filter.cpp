// TReportListView::FilterAndSort: the three matchers (substring, boolean expression, regular
// expression) and the ordering of the kept rows before the others.
//
// The regular expressions go through RE2, which matches in time linear in the text: a pattern
// typed by a user can never make the program hang, as backtracking matchers can.
#include <re2/re2.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "replist/QEL_replist.h"
#include "replist/replist_view_batch.h"

namespace qel {

namespace {

char FoldAscii(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

std::string Folded(std::string_view S) {
  std::string r(S);
  for (char& ch : r) ch = FoldAscii(ch);
  return r;
}

// ---------------------------------------------------------------- boolean expressions

// A parsed expression: a term (a text to find) or an operator over one or two operands.
struct TExprNode {
  enum TKind : uint8_t { Term, And, Or, Not } Kind = Term;
  std::string Text;
  std::unique_ptr<TExprNode> A, B;
};

struct TToken {
  enum TKind : uint8_t { Word, And, Or, Not, Open, Close, End } Kind = End;
  std::string Text;
  int Pos = 0;  // 1-based character position in the filter text
};

class TExprParser {
 public:
  TExprParser(const std::string& Text, const std::string& Name) : FText(Text), FName(Name) {
    Tokenise();
  }
  std::unique_ptr<TExprNode> Parse() {
    auto e = ParseOr();
    if (Peek().Kind != TToken::End) Fail(Peek().Pos, "\"" + Peek().Text + "\" not expected");
    return e;
  }

 private:
  [[noreturn]] void Fail(int Pos, const std::string& What) const {
    throw EQELRepListError(ComponentMessage(
        FName, "\": filter expression, position " + std::to_string(Pos) + ": " + What));
  }
  const TToken& Peek() const { return FTokens[FNext]; }
  TToken Take() { return FTokens[FNext++]; }

  void Tokenise() {
    size_t i = 0;
    const size_t n = FText.size();
    while (i < n) {
      const char ch = FText[i];
      const int pos = static_cast<int>(i) + 1;
      // Operators chain into a tree as deep as the expression is long; a bound keeps its
      // evaluation and destruction off the end of the stack.
      if (FTokens.size() >= kMaxTokens)
        Fail(pos, "more than " + std::to_string(kMaxTokens) + " terms and operators");
      if (ch == ' ' || ch == '\t') {
        ++i;
      } else if (ch == '(' || ch == ')') {
        FTokens.push_back({ch == '(' ? TToken::Open : TToken::Close, std::string(1, ch), pos});
        ++i;
      } else if (ch == '"') {
        const size_t close = FText.find('"', i + 1);
        if (close == std::string::npos) Fail(pos, "quoted phrase without closing quote");
        FTokens.push_back({TToken::Word, FText.substr(i + 1, close - i - 1), pos});
        i = close + 1;
      } else {
        size_t j = i;
        while (j < n && FText[j] != ' ' && FText[j] != '\t' && FText[j] != '(' && FText[j] != ')' &&
               FText[j] != '"')
          ++j;
        std::string word = FText.substr(i, j - i);
        const std::string upper = Folded(word);
        TToken::TKind kind = upper == "and"   ? TToken::And
                             : upper == "or"  ? TToken::Or
                             : upper == "not" ? TToken::Not
                                              : TToken::Word;
        FTokens.push_back({kind, word, pos});
        i = j;
      }
    }
    FTokens.push_back({TToken::End, "end of text", static_cast<int>(n) + 1});
  }

  static std::unique_ptr<TExprNode> Join(TExprNode::TKind Kind, std::unique_ptr<TExprNode> A,
                                         std::unique_ptr<TExprNode> B) {
    auto n = std::make_unique<TExprNode>();
    n->Kind = Kind;
    n->A = std::move(A);
    n->B = std::move(B);
    return n;
  }
  std::unique_ptr<TExprNode> ParseOr() {
    auto left = ParseAnd();
    while (Peek().Kind == TToken::Or) {
      Take();
      left = Join(TExprNode::Or, std::move(left), ParseAnd());
    }
    return left;
  }
  // AND binds tighter than OR; two terms side by side are joined by AND.
  std::unique_ptr<TExprNode> ParseAnd() {
    auto left = ParseNot();
    for (;;) {
      const TToken::TKind k = Peek().Kind;
      if (k == TToken::And) {
        Take();
      } else if (k != TToken::Word && k != TToken::Not && k != TToken::Open) {
        break;
      }
      left = Join(TExprNode::And, std::move(left), ParseNot());
    }
    return left;
  }
  // Nesting is limited, so that no text can exhaust the stack.
  std::unique_ptr<TExprNode> ParseNot() {
    if (++FDepth > kMaxDepth)
      Fail(Peek().Pos, "nested deeper than " + std::to_string(kMaxDepth) + " levels");
    std::unique_ptr<TExprNode> n;
    if (Peek().Kind == TToken::Not) {
      Take();
      n = Join(TExprNode::Not, ParseNot(), nullptr);
    } else {
      n = ParsePrimary();
    }
    --FDepth;
    return n;
  }
  std::unique_ptr<TExprNode> ParsePrimary() {
    const TToken t = Take();
    if (t.Kind == TToken::Word) {
      auto n = std::make_unique<TExprNode>();
      n->Text = t.Text;
      return n;
    }
    if (t.Kind == TToken::Open) {
      auto e = ParseOr();
      if (Peek().Kind != TToken::Close)
        Fail(Peek().Pos, "\")\" expected for \"(\" at position " + std::to_string(t.Pos));
      Take();
      return e;
    }
    if (t.Kind == TToken::End) Fail(t.Pos, "a term is missing at the end");
    Fail(t.Pos, "a term is missing before \"" + t.Text + "\"");
  }

  const std::string& FText;
  const std::string& FName;
  std::vector<TToken> FTokens;
  size_t FNext = 0;
  int FDepth = 0;
  static constexpr int kMaxDepth = 200;
  static constexpr size_t kMaxTokens = 2000;
};

// Folds the terms once when the match ignores case, so a row costs only the search.
void FoldTerms(TExprNode* N) {
  if (!N) return;
  if (N->Kind == TExprNode::Term) N->Text = Folded(N->Text);
  FoldTerms(N->A.get());
  FoldTerms(N->B.get());
}

template <class Has>
bool Evaluate(const TExprNode* N, const Has& Contains) {
  switch (N->Kind) {
    case TExprNode::And:
      return Evaluate(N->A.get(), Contains) && Evaluate(N->B.get(), Contains);
    case TExprNode::Or:
      return Evaluate(N->A.get(), Contains) || Evaluate(N->B.get(), Contains);
    case TExprNode::Not:
      return !Evaluate(N->A.get(), Contains);
    default:
      return Contains(N->Text);
  }
}

// 1-based position of a pattern's fault: the offending fragment, or for a missing ")" the "("
// left open.
int PatternErrorPos(const std::string& Pattern, const RE2& Re) {
  if (Re.error_code() == RE2::ErrorMissingParen) {
    std::vector<size_t> open;
    bool inClass = false;
    for (size_t i = 0; i < Pattern.size(); ++i) {
      const char ch = Pattern[i];
      if (ch == '\\') {
        ++i;
      } else if (inClass) {
        inClass = ch != ']';
      } else if (ch == '[') {
        inClass = true;
      } else if (ch == '(') {
        open.push_back(i);
      } else if (ch == ')' && !open.empty()) {
        open.pop_back();
      }
    }
    if (!open.empty()) return static_cast<int>(open.back()) + 1;
  }
  const std::string& arg = Re.error_arg();
  const size_t at = arg.empty() ? std::string::npos : Pattern.find(arg);
  return at == std::string::npos ? 1 : static_cast<int>(at) + 1;
}

}  // namespace

int TReportListView::FilterAndSort(const std::string& FilterText, const std::vector<int>& Columns,
                                   bool CaseSensitive, TFilterMode Mode, int SortColumn,
                                   bool Ascending) {
  // Everything that can fail comes first, so a bad pattern changes nothing.
  std::vector<int> cols;
  for (int c : Columns)
    if (ValidCol(c)) cols.push_back(c);
  if (Columns.empty())
    for (int c = 1; c <= GetNrOfColumns(); ++c) cols.push_back(c);

  std::unique_ptr<TExprNode> expr;
  std::unique_ptr<RE2> re;
  const bool all = FilterText.empty();
  if (!all && Mode == fmBoolean) {
    expr = TExprParser(FilterText, GetName()).Parse();
    if (!CaseSensitive) FoldTerms(expr.get());
  } else if (!all && Mode == fmGrep) {
    RE2::Options opt;
    opt.set_log_errors(false);
    opt.set_case_sensitive(CaseSensitive);
    re = std::make_unique<RE2>(FilterText, opt);
    if (!re->ok()) {
      const int pos = PatternErrorPos(FilterText, *re);
      throw EQELRepListError(ComponentMessage(
          GetName(), "\": filter pattern, position " + std::to_string(pos) + ": " + re->error()));
    }
  }
  const std::string needle = CaseSensitive ? FilterText : Folded(FilterText);

  HideEditor();
  TStringArray* s = FData->GetStorage();
  const int n = GetNrOfRows();
  std::vector<uint8_t> keep(static_cast<size_t>(n) + 1, 0);
  // Texts are folded per cell once when case does not matter; the boolean terms then search
  // the folded texts.
  std::vector<std::string> texts(cols.size());
  auto rowTexts = [&](int r) {
    for (size_t i = 0; i < cols.size(); ++i) {
      texts[i] = FData->GetElem(cols[i], r);
      if (!CaseSensitive && Mode != fmGrep) texts[i] = Folded(texts[i]);
    }
  };
  auto anyContains = [&](const std::string& Term) {
    for (const std::string& t : texts)
      if (t.find(Term) != std::string::npos) return true;
    return false;
  };
  int kept = 0;
  for (int r = 1; r <= n; ++r) {
    bool hostFound = false;
    TLogicOp op = loOr;
    if (OnBeforeFilter) OnBeforeFilter(this, r, hostFound, op);
    bool internal = true;
    if (op != loNone && !all) {
      rowTexts(r);
      if (Mode == fmBoolean) {
        internal = Evaluate(expr.get(), anyContains);
      } else if (Mode == fmGrep) {
        internal = false;
        for (const std::string& t : texts)
          if (RE2::PartialMatch(t, *re)) {
            internal = true;
            break;
          }
      } else {
        internal = anyContains(needle);
      }
    }
    // Without a handler the text match decides alone.
    const bool found = !OnBeforeFilter ? internal
                       : op == loNone  ? hostFound
                                       : ApplyLogicOp(op, internal, hostFound);
    keep[r] = found;
    kept += found;
  }

  // Enable the kept rows, disable the others, and put the kept ones first: sorting by the
  // column (stable) and then a stable partition keeps each group in the sorted order.
  {
    TQuietStorage quiet(s);
    std::vector<int> storedKeep(static_cast<size_t>(n) + 1, 0);
    for (int r = 1; r <= n; ++r) {
      storedKeep[s->GetSortOrder(r)] = keep[r];
      const uint8_t a = s->GetRowAttrib(r);
      s->SetRowAttrib(r, keep[r] ? uint8_t(a & ~kRowDisabledBit) : uint8_t(a | kRowDisabledBit));
    }
    if (ValidCol(SortColumn)) {
      SyncSortHook();
      FData->Sort(SortColumn, FData->GetSortColumnSec(), Ascending);
    }
    std::vector<int> order(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) order[r - 1] = s->GetSortOrder(r);
    std::stable_partition(order.begin(), order.end(), [&](int st) { return storedKeep[st] != 0; });
    for (int r = 1; r <= n; ++r) s->SetSortOrder(r, order[r - 1]);
  }
  TCustomGrid::SetTopRow(CountHeadRows());
  Changed();
  Repaint_();
  ChangedSelection();
  return kept;
}

}  // namespace qel
