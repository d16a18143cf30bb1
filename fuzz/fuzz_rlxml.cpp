// The replist XML reader on arbitrary documents: no crash or leak; a refused document leaves
// the store exactly as it was; an accepted one (in any encoding the reader converts) writes valid
// UTF-8, saves through a file, reads back and writes again identically, and the written document
// is recognised by its identifier. The stream reader sees the same bytes.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <pugixml.hpp>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/rtl/StrUtils.h"
#include "replist/QEL_replist.h"

namespace {

// A document may declare a table of millions of rows in a few bytes. The reader refuses one
// whose cells the document does not pay for (that refusal is exercised); one it accepts and that
// is merely large measures the memory, not the reader, and is passed over.
bool DeclaresHugeTable(const std::string& Text) {
  pugi::xml_document doc;
  if (!doc.load_buffer(Text.data(), Text.size())) return false;
  long long cols = 1, rows = 0, cells = 0;
  for (pugi::xml_node root : doc.children())
    for (pugi::xml_node n : root.children()) {
      const std::string name = n.name();
      if (name.size() == 4 && (name[0] == 'c' || name[0] == 'C')) ++cells;
      if (name.size() != 7) continue;
      // Any count beyond the limit will do, so the text is read with saturation.
      long long v = std::strtoll(n.child_value(), nullptr, 10);
      v = v < 0 ? (v < -1000000000LL ? 1000000000LL : -v) : std::min(v, 1000000000LL);
      if (name[3] == 'c' || name[3] == 'C') cols = v;
      if (name[3] == 'r' || name[3] == 'R') rows = v;
    }
  const double bytes = (rows + 1.0) * (1.0 + 16.0 * std::min(cells, cols + 1));
  const double allowed = 256.0 * (1 << 20) + 16.0 * static_cast<double>(Text.size());
  return (bytes > 32.0 * (1 << 20) || rows > 4000000) && bytes <= allowed;
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
  // Whatever encoding came in, what goes out is valid UTF-8.
  QEL_FUZZ_CHECK(qel::IsValidUtf8(once));
  // A save streams the same text through a temporary file.
  const char* dir = std::getenv("TMPDIR");
  const std::string file = std::string(dir && *dir ? dir : "/tmp") + "/fuzz_rlxml_" +
                           std::to_string(::getpid()) + ".xml";
  d.SaveAsXMLFile(file, "");
  qel::TRLData g(nullptr);
  g.LoadFromXMLFile(file, d.GetDataID());
  std::remove(file.c_str());
  QEL_FUZZ_CHECK(g.XMLText(true, "") == once);
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
