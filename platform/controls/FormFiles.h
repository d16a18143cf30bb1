#pragma once
// Form files: the text format that describes a root component (usually a form) with its
// properties and the components it owns, nested as they sit in each other:
//
//   object Form1: TForm
//     Caption = 'Hello ''quoted'''
//     Font.Style = [fsBold]
//     object Meter1: TMeter
//       Value = 12.5
//     end
//   end
//
// Reading creates each component with the root as owner and the enclosing windowed control as
// parent, sets the properties while the components are loading (csLoading), resolves component
// references, and only then calls Loaded on every component. Any error (syntax, unknown class or
// property, bad value, or a setter refusing a value) raises EFormFileError naming the line, and
// destroys what the read created. Writing stores the properties that differ from their defaults,
// so that a form read back is the form written. docs/form-files.md describes the format.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/Properties.h"

namespace qel {

class EFormFileError : public EReadError {
 public:
  // Message: "Line <Line>: <What>".
  EFormFileError(int ALine, const std::string& AWhat)
      : EReadError("Line " + std::to_string(ALine) + ": " + AWhat), Line(ALine), What(AWhat) {}
  int Line;
  std::string What;
};

// ---------------------------------------------------------------- the parsed text

struct TFormValue {
  enum TType : uint8_t { fvInteger, fvFloat, fvString, fvIdent, fvSet, fvList };
  TType Type = fvInteger;
  int64_t Int = 0;
  double Float = 0;
  std::string Str;               // fvString: the text; fvIdent: the identifier
  std::vector<std::string> Set;  // fvSet: the element identifiers
  std::vector<TFormValue> List;  // fvList: the items
  int Line = 0;
};

struct TFormProperty {
  std::string Path;  // "Caption", "Font.Style"
  TFormValue Value;
  int Line = 0;
};

struct TFormObject {
  std::string Name;  // empty for an unnamed component
  std::string ClassName;
  int Line = 0;
  std::vector<TFormProperty> Props;
  std::vector<TFormObject> Children;
};

// Parses the text without creating anything; raises EFormFileError on a syntax error.
// Objects may nest at most 200 deep.
TFormObject ParseFormText(const std::string& Text);

// ---------------------------------------------------------------- reading and writing

// Creates the root the text describes, owned by Owner (may be nullptr), with everything in it.
TComponent* CreateComponentFromText(const std::string& Text, TComponent* Owner);
// As CreateComponentFromText, requiring the root to be a T.
template <class T>
T* CreateFromText(const std::string& Text, TComponent* Owner) {
  TComponent* c = CreateComponentFromText(Text, Owner);
  if (auto* t = dynamic_cast<T*>(c)) return t;
  std::string cls = c->ClassName();
  delete c;
  throw EFormFileError(1, "The root is a " + cls + ", not the class asked for");
}
// Fills an existing root (the form object exists; its class must be the file's root class or
// derive from it). Components of the root that already carry a name used in the file are
// filled instead of created when their class fits. On an error the components the read created
// are destroyed; properties already set on the root and on reused components stay set.
void ReadComponentText(TComponent* Root, const std::string& Text);
// The text of Root and the components it owns. Raises EWriteError for a component whose class
// is not registered.
std::string WriteComponentText(const TComponent* Root);

// The same through files (UTF-8 text). File errors raise EFOpenError / EFCreateError.
TComponent* CreateComponentFromFile(const std::string& FileName, TComponent* Owner);
void ReadComponentFile(TComponent* Root, const std::string& FileName);
void WriteComponentFile(const TComponent* Root, const std::string& FileName);

// Writes a string value as the format spells it: quoted runs, #nn for control characters, and
// " +" continuations after line breaks and long runs (Indent is the continuation's indentation).
std::string FormatFormString(const std::string& S, const std::string& Indent);

}  // namespace qel
