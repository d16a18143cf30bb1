#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

namespace qel {
namespace {

std::vector<std::string> Lines(const TStrings& l) {
  std::vector<std::string> r;
  for (int i = 0; i < l.GetCount(); ++i) r.push_back(l.Get(i));
  return r;
}
using V = std::vector<std::string>;

TEST(StringList, EditingAndIndexErrors) {
  TStringList l;
  EXPECT_EQ(l.Add("b"), 0);
  l.Insert(0, "a");
  l.Insert(2, "c");  // at the end is allowed
  l.Append("d");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c", "d"}));
  l.Put(1, "B");
  l.Delete(3);
  EXPECT_EQ(Lines(l), (V{"a", "B", "c"}));
  EXPECT_EQ(l.IndexOf("b"), 1);  // case-insensitive by default
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("b"), -1);
  l.Exchange(0, 2);
  l.Move(0, 1);
  EXPECT_EQ(Lines(l), (V{"B", "c", "a"}));
  try {
    l.Get(5);
    FAIL() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (5)");
  }
  EXPECT_THROW(l.Get(-1), EStringListError);
  EXPECT_THROW(l.Put(3, "x"), EStringListError);
  EXPECT_THROW(l.Insert(4, "x"), EStringListError);
  EXPECT_THROW(l.Delete(3), EStringListError);
  EXPECT_THROW(l.Exchange(0, 3), EStringListError);
  EXPECT_THROW(l.Move(3, 0), EStringListError);
  EXPECT_THROW(l.GetObject(3), EListError);
  EXPECT_EQ(Lines(l), (V{"B", "c", "a"}));  // failed calls change nothing
}

TEST(StringList, SortedInsertAndDuplicates) {
  TStringList l;
  l.SetSorted(true);
  for (const char* s : {"pear", "apple", "fig", "Apple"}) l.Add(s);
  EXPECT_EQ(Lines(l), (V{"apple", "fig", "pear"}));  // dupIgnore, case-insensitive
  EXPECT_EQ(l.Add("APPLE"), 0);
  int index = -1;
  EXPECT_TRUE(l.Find("FIG", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(l.Find("grape", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(l.IndexOf("Pear"), 2);
  EXPECT_EQ(l.IndexOf("kiwi"), -1);

  l.SetDuplicates(dupError);
  try {
    l.Add("Fig");
    FAIL() << "duplicate accepted";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "String list does not allow duplicates");
  }
  EXPECT_EQ(l.GetCount(), 3);

  l.SetDuplicates(dupAccept);
  l.Add("Fig");
  l.Add("FIG");
  EXPECT_EQ(Lines(l), (V{"apple", "fig", "Fig", "FIG", "pear"}));  // in order of arrival

  l.SetCaseSensitive(true);  // re-sorts by bytes
  EXPECT_EQ(Lines(l), (V{"FIG", "Fig", "apple", "fig", "pear"}));

  for (auto op : std::initializer_list<std::function<void()>>{
           [&] { l.Insert(0, "x"); }, [&] { l.Put(0, "x"); }, [&] { l.Exchange(0, 1); },
           [&] { l.Move(0, 1); },
           [&] { l.CustomSort([](TStringList*, int, int) { return 0; }); }}) {
    try {
      op();
      FAIL() << "sorted list modified out of order";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message, "Operation not allowed on sorted list");
    }
  }
  l.SetSorted(false);
  l.Insert(0, "zz");
  EXPECT_EQ(l.Get(0), "zz");
}

TEST(StringList, SortIsStableAndSurvivesBadComparers) {
  TStringList l;
  for (const char* s : {"bb", "a", "ccc", "B", "dd", "A"}) l.Add(s);
  l.Sort();
  EXPECT_EQ(Lines(l), (V{"a", "A", "B", "bb", "ccc", "dd"}));  // equal keys keep their order
  l.CustomSort([](TStringList* list, int a, int b) {
    return static_cast<int>(list->Get(a).size()) - static_cast<int>(list->Get(b).size());
  });
  EXPECT_EQ(Lines(l), (V{"a", "A", "B", "bb", "dd", "ccc"}));

  TStringList big;
  for (int i = 0; i < 200; ++i) big.Add(std::to_string(i));
  std::mt19937 rng(7);
  big.CustomSort([&](TStringList*, int, int) { return static_cast<int>(rng() % 3) - 1; });
  EXPECT_EQ(big.GetCount(), 200);
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.AddStrings(big);
  EXPECT_EQ(sorted.GetCount(), 200);  // a permutation: nothing lost or doubled

  EXPECT_THROW(big.CustomSort([](TStringList* list, int, int) {
    if (list->GetCount() > 100) list->Delete(0);
    return 0;
  }),
               EInvalidOperation);
}

TEST(StringList, NamesAndValues) {
  TStringList l;
  l.SetText("a=1\nB=2\nplain\nc==3");
  EXPECT_EQ(l.GetName(0), "a");
  EXPECT_EQ(l.GetName(2), "");
  EXPECT_EQ(l.GetValue("b"), "2");
  EXPECT_EQ(l.GetValue("c"), "=3");
  EXPECT_EQ(l.GetValue("plain"), "");
  EXPECT_EQ(l.IndexOfName("C"), 3);
  EXPECT_EQ(l.GetValueFromIndex(3), "=3");
  l.SetValue("a", "x");
  l.SetValue("d", "4");
  l.SetValue("B", "");  // an empty value deletes the line
  EXPECT_EQ(Lines(l), (V{"a=x", "plain", "c==3", "d=4"}));
  l.SetNameValueSeparator(':');
  l.Add("k:v");
  EXPECT_EQ(l.GetValue("k"), "v");
}

TEST(StringList, TextAcceptsEveryLineBreak) {
  TStringList l;
  l.SetText("a\nb\r\nc\rd\r\n\r\ne");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(l.GetText(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  struct Case {
    const char* Text;
    V Expected;
  };
  for (const Case& c :
       {Case{"", {}}, Case{"x\n", {"x"}}, Case{"\n", {""}}, Case{"\r\n\r\n", {"", ""}},
        Case{"\n\r", {"", ""}}, Case{"x\r", {"x"}}, Case{"\r\r\n", {"", ""}}}) {
    l.SetText(c.Text);
    EXPECT_EQ(Lines(l), c.Expected) << c.Text;
  }
  l.SetLineBreak("\n");
  l.SetText("p\r\nq");
  EXPECT_EQ(l.GetText(), "p\nq\n");
}

TEST(StringList, CommaTextQuotingAndRoundTrip) {
  TStringList l;
  for (const char* s : {"a", "b c", "", "d\"e", "f,g", "ü"}) l.Add(s);
  EXPECT_EQ(l.GetCommaText(), "a,\"b c\",,\"d\"\"e\",\"f,g\",ü");
  TStringList back;
  back.SetCommaText(l.GetCommaText());
  EXPECT_TRUE(back.Equals(l));

  struct Case {
    const char* Text;
    V Expected;
  };
  for (const Case& c :
       {Case{" a , b ", {"a", "b"}}, Case{"a b", {"a", "b"}}, Case{"\"ab\"cd", {"ab", "cd"}},
        Case{"a,", {"a", ""}}, Case{",", {"", ""}}, Case{"\"open", {"open"}}, Case{"\"\"", {""}},
        Case{"", {}}, Case{"\"x\"\"y\",z", {"x\"y", "z"}}}) {
    back.SetCommaText(c.Text);
    EXPECT_EQ(Lines(back), c.Expected) << c.Text;
  }
  TStringList one;
  one.Add("");
  EXPECT_EQ(one.GetCommaText(), "\"\"");
}

TEST(StringList, DelimitedTextWithOwnCharacters) {
  TStringList l;
  l.SetDelimiter(';');
  l.SetQuoteChar('\'');
  l.SetDelimitedText("a b;'c;d';");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c;d", ""}));
  l.SetStrictDelimiter(true);
  l.SetDelimitedText("a b;'c;d'; e ");
  EXPECT_EQ(Lines(l), (V{"a b", "c;d", " e "}));
  EXPECT_EQ(l.GetDelimitedText(), "a b;'c;d'; e ");
  // CommaText keeps its own characters whatever the delimiter is.
  EXPECT_EQ(l.GetCommaText(), "a b,c;d, e ");
  l.SetStrictDelimiter(false);
  l.SetDelimiter(' ');
  l.SetDelimitedText("x  y");
  EXPECT_EQ(Lines(l), (V{"x", "", "y"}));
}

struct Counted : TObject {
  explicit Counted(int& n) : N(n) {}
  ~Counted() override { ++N; }
  int& N;
};

TEST(StringList, ObjectsFollowTheirLines) {
  TObject o1, o2;
  TStringList l;
  l.AddObject("one", &o1);
  l.AddObject("two", &o2);
  l.Add("three");
  l.Move(0, 2);
  EXPECT_EQ(l.GetObject(2), &o1);
  l.Exchange(0, 2);
  EXPECT_EQ(l.GetObject(0), &o1);
  EXPECT_EQ(l.IndexOfObject(&o2), 2);
  l.PutObject(1, &o2);
  EXPECT_EQ(l.GetObject(1), &o2);

  int destroyed = 0;
  {
    TStringList owner;
    owner.SetOwnsObjects(true);
    for (int i = 0; i < 4; ++i) owner.AddObject("x", new Counted(destroyed));
    owner.Delete(0);
    EXPECT_EQ(destroyed, 1);
    owner.SetSorted(true);  // sorting moves objects along, never drops them
    EXPECT_EQ(destroyed, 1);
  }
  EXPECT_EQ(destroyed, 4);
}

TEST(StringList, ChangeEventsAndUpdates) {
  TStringList l;
  int changes = 0, changing = 0;
  TObject* sender = nullptr;
  l.OnChange = [&](TObject* s) {
    ++changes;
    sender = s;
  };
  l.OnChanging = [&](TObject*) { ++changing; };
  l.Add("a");
  EXPECT_EQ(std::pair(changing, changes), std::pair(1, 1));
  EXPECT_EQ(sender, &l);
  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.EndUpdate();
  EXPECT_EQ(changes, 1);
  l.EndUpdate();
  EXPECT_EQ(std::pair(changing, changes), std::pair(2, 2));
  l.SetText("x\ny\nz");
  EXPECT_EQ(std::pair(changing, changes), std::pair(3, 3));
  l.SetCommaText("a,b");
  EXPECT_EQ(changes, 4);
  EXPECT_THROW(l.Get(9), EStringListError);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(l.GetUpdateCount(), 0);
}

TEST(StringList, ExceptionsNeverLeaveTheListUpdating) {
  TStringList l;
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  TStringList src;
  src.SetText("a\nb\na");
  int changes = 0;
  l.OnChange = [&](TObject*) { ++changes; };
  EXPECT_THROW(l.AddStrings(src), EStringListError);
  EXPECT_EQ(l.GetUpdateCount(), 0);
  EXPECT_EQ(changes, 1);  // the lines added before the failure are reported
  EXPECT_EQ(l.GetCount(), 2);

  TStringList m;
  m.OnChange = [](TObject*) { throw EAbort("refused"); };
  EXPECT_THROW(m.SetText("x\ny"), EAbort);  // the handler's error reaches the caller
  EXPECT_EQ(m.GetUpdateCount(), 0);
}

TEST(StringList, AssignAndAddStrings) {
  TObject o;
  TStringList a;
  a.AddObject("x", &o);
  a.Add("y");
  a.SetDelimiter(';');
  TStringList b;
  b.Add("old");
  b.Assign(&a);
  EXPECT_EQ(Lines(b), (V{"x", "y"}));
  EXPECT_EQ(b.GetObject(0), &o);
  EXPECT_EQ(b.GetDelimiter(), ';');
  b.AddStrings(b);
  EXPECT_EQ(Lines(b), (V{"x", "y", "x", "y"}));
  TPersistent other;
  try {
    b.Assign(&other);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TPersistent to a TStringList");
  }
  EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

TEST(StringList, StreamsAndFiles) {
  TStringList l;
  l.SetText("one\ntwo");
  TStringStream out;
  l.SaveToStream(out);
  EXPECT_EQ(out.DataString(), "one\r\ntwo\r\n");

  TStringStream in(
      "skip\xEF\xBB\xBF"
      "a\nb");
  in.SetPosition(4);  // from the position on; the byte order mark is dropped
  l.LoadFromStream(in);
  EXPECT_EQ(Lines(l), (V{"a", "b"}));

  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("qel_strings_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string file = (dir / "list.txt").string();
  l.SaveToFile(file);
  TStringList r;
  r.LoadFromFile(file);
  EXPECT_TRUE(r.Equals(l));
  EXPECT_THROW(r.LoadFromFile((dir / "missing.txt").string()), EFOpenError);
  EXPECT_EQ(Lines(r), (V{"a", "b"}));  // a failed load keeps the lines
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qel
