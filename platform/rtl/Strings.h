#pragma once
// TStrings, the abstract list of text lines each with an optional object, and TStringList, the
// concrete list with sorting, duplicate control and change events.
//
// Text is written with LineBreak ("\r\n", the classic line break) after every line; reading
// accepts LF, CRLF and CR alike, and a final line break makes no empty last line. Delimited text
// quotes a field with QuoteChar (doubling the quote inside) when it holds the delimiter, the
// quote or — unless StrictDelimiter — a blank or control character.
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

namespace qel {

class TStream;

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
 public:
  std::string ClassName() const override { return "TStrings"; }

  virtual int GetCount() const = 0;
  int Count() const { return GetCount(); }
  // Get and Put raise EStringListError ("List index out of bounds (5)") for a bad index.
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);

  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  // Returns the index the line went to.
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  void AddStrings(const TStrings& Strings);
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);

  // -1 when absent. Comparison follows CompareStrings (case-insensitive unless a list says).
  virtual int IndexOf(const std::string& S) const;
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(const TObject* AObject) const;

  // Name=Value lines: the name is the text before the first NameValueSeparator ("" without
  // one). SetValue replaces or adds the line; an empty value deletes it.
  std::string GetName(int Index) const;
  std::string GetValueFromIndex(int Index) const;
  std::string GetValue(const std::string& Name) const;
  void SetValue(const std::string& Name, const std::string& Value);

  std::string GetText() const;
  void SetText(const std::string& Text);
  // CommaText is DelimitedText with "," and '"', whatever Delimiter and QuoteChar are.
  std::string GetCommaText() const;
  void SetCommaText(const std::string& Text);
  std::string GetDelimitedText() const;
  void SetDelimitedText(const std::string& Text);

  char GetDelimiter() const { return FDelimiter; }
  void SetDelimiter(char C) { FDelimiter = C; }
  char GetQuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char C) { FQuoteChar = C; }
  bool GetStrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }
  char GetNameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char C) { FNameValueSeparator = C; }
  const std::string& GetLineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& S) { FLineBreak = S; }

  // Loading replaces the lines with the text from the stream's position to its end (a UTF-8
  // byte order mark is skipped); saving writes GetText. Errors of the stream or file pass on.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

  // Between BeginUpdate and the matching EndUpdate a list reports one change, not one per line.
  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  void Assign(const TPersistent* Source) override;
  bool Equals(const TStrings& Other) const;

 protected:
  virtual void SetUpdateState(bool) {}
  virtual int CompareStrings(const std::string& A, const std::string& B) const;
  [[noreturn]] void IndexError(int Index) const;
  void CheckIndex(int Index, int Limit) const;
  std::string DelimitedText(char Delimiter, char Quote) const;
  void SetDelimited(const std::string& Text, char Delimiter, char Quote);

 private:
  char FDelimiter = ',';
  char FQuoteChar = '"';
  bool FStrictDelimiter = false;
  char FNameValueSeparator = '=';
  std::string FLineBreak = "\r\n";
  int FUpdateCount = 0;
};

class TStringList;
// Orders two lines of the list by index: negative, zero or positive.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override;
  std::string ClassName() const override { return "TStringList"; }

  int GetCount() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int Index) const override;
  // A sorted list refuses Put, Insert, Exchange and Move ("Operation not allowed on sorted
  // list"): they would break the order that Find and IndexOf rely on.
  void Put(int Index, const std::string& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  // On a sorted list the line goes to its place; a duplicate is dropped (dupIgnore: the index
  // of the existing line is returned), added (dupAccept) or refused with EStringListError
  // ("String list does not allow duplicates", dupError).
  int AddObject(const std::string& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  int IndexOf(const std::string& S) const override;

  // Binary search of a sorted list: true when found, Index = the first match or the place
  // where S would go.
  bool Find(const std::string& S, int& Index) const;
  // A stable sort by CompareStrings or by Compare.
  void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // When set, the list deletes the objects of the lines it deletes, clears or is destroyed with.
  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& A, const std::string& B) const override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct TItem {
    std::string S;
    TObject* Object = nullptr;
  };
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  template <class Compare>
  void SortBy(Compare Cmp);
  void CheckUnsorted() const;

  std::vector<TItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace qel
