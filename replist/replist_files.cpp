// Helpers of the report-list exchange: whole-file reading, write-then-rename saving, text
// encodings, escaping.
#include "replist/replist_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "frame/QEL_errors.h"
#include "frame/QEL_filesys.h"
#include "platform/rtl/StrUtils.h"

namespace qel::rlfiles {

namespace {

// Opens FName for reading without blocking on a FIFO and refuses anything but a regular file.
int OpenRegular(const std::string& FName, std::string& Error) {
  const int fd = ::open(FName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    Error = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    Error = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    Error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return -1;
  }
  // Reads of a regular file never block; the flag only kept a FIFO's open from waiting.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

bool ReadWholeFile(const std::string& FName, std::string& Data, std::string& Error) {
  const int fd = OpenRegular(FName, Error);
  if (fd < 0) return false;
  struct stat st {};
  std::string data;
  try {
    // Read straight into the text, sized by the file and grown should the file grow.
    size_t used = 0;
    data.resize(::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1
                                                        : size_t{65536});
    for (;;) {
      if (used == data.size()) data.resize(data.size() * 2);
      const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
      if (n > 0) {
        used += static_cast<size_t>(n);
      } else if (n == 0) {
        data.resize(used);
        break;
      } else if (errno != EINTR) {
        Error = std::strerror(errno);
        ::close(fd);
        return false;
      }
    }
  } catch (const std::bad_alloc&) {
    Error = std::strerror(ENOMEM);
    ::close(fd);
    return false;
  }
  ::close(fd);
  Data.swap(data);
  return true;
}

std::FILE* OpenRegularFile(const std::string& FName, std::string& Error) {
  const int fd = OpenRegular(FName, Error);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    Error = std::strerror(errno);
    ::close(fd);
  }
  return f;
}

namespace {

std::string DirName(const std::string& Path) {
  const size_t slash = Path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return Path.substr(0, slash);
}

// The file a save of FName writes: FName with every symbolic link on its end followed. A
// dangling link names the file to create.
bool ResolveLinks(const std::string& FName, std::string& Target, int& Err) {
  Target = FName;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(Target.c_str(), &st) != 0) {
      if (errno == ENOENT) return true;
      Err = errno;
      return false;
    }
    if (!S_ISLNK(st.st_mode)) return true;
    if (hops == 40) {
      Err = ELOOP;
      return false;
    }
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(Target.c_str(), link.data(), link.size());
    if (n < 0) {
      Err = errno;
      return false;
    }
    link.resize(static_cast<size_t>(n));
    Target = link.front() == '/' ? link : DirName(Target) + "/" + link;
  }
}

}  // namespace

void WriteFileAtomically(const std::string& FName, const TFileProducer& Produce,
                         const std::string& Who) {
  auto fail = [&](const std::string& Reason) {
    throw EQELRLDataError(Who + "cannot write \"" + FName + "\": " + Reason);
  };
  if (FName.empty()) fail(std::strerror(ENOENT));
  std::string target;
  int err = 0;
  if (!ResolveLinks(FName, target, err)) fail(std::strerror(err));
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) fail(std::strerror(EISDIR));
    if (!S_ISREG(old.st_mode)) fail("not a regular file");
    // A file without any write permission is read-only on purpose, whoever saves; access()
    // adds the rules of the user (root would pass it).
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
      fail("the file is read-only");
    if (old.st_nlink > 1)
      fail("the file has " + std::to_string(old.st_nlink) +
           " hard links, which a save would separate");
  }
  // A short name: a target name near the longest allowed still leaves room for it.
  const std::string dir = DirName(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = dir + "/.qel" + InventPassword(8);
    // O_EXCL with our own random name (rather than mkstemp) lets the umask give a new file its
    // usual permissions.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) fail(std::strerror(errno));
  }
  if (fd < 0) fail(std::strerror(EEXIST));
  std::string reason;
  auto failed = [&](const std::string& What, int Errno) {
    if (reason.empty())
      reason = What.empty() ? std::strerror(Errno) : What + ": " + std::strerror(Errno);
  };
  if (exists) {
    // Owner and group first: changing them may clear set-id bits that fchmod then restores.
    struct stat mine {};
    if (::fstat(fd, &mine) != 0) failed("", errno);
    if (reason.empty() && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
      failed("cannot keep the owner and group", errno);
    if (reason.empty() && ::fchmod(fd, old.st_mode & 07777) != 0)
      failed("cannot keep the permissions", errno);
  }
  const TChunkSink write = [&](std::string_view Data) {
    size_t done = 0;
    while (reason.empty() && done < Data.size()) {
      const ssize_t n =
          ::write(fd, Data.data() + done, std::min<size_t>(Data.size() - done, 1 << 20));
      if (n > 0)
        done += static_cast<size_t>(n);
      else if (n < 0 && errno == EINTR)
        continue;
      else
        failed("", n < 0 ? errno : ENOSPC);
    }
  };
  try {
    if (reason.empty()) Produce(write);
  } catch (const std::bad_alloc&) {
    failed("", ENOMEM);
  } catch (...) {
    ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  if (reason.empty() && ::fsync(fd) != 0 && errno != EINVAL) failed("", errno);
  if (::close(fd) != 0) failed("", errno);
  if (reason.empty() && ::rename(temp.c_str(), target.c_str()) != 0) failed("", errno);
  if (!reason.empty()) {
    ::unlink(temp.c_str());
    fail(reason);
  }
  // The new name is durable only once the folder is on the disk as well.
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    if (::fsync(dfd) != 0 && errno != EINVAL) err = errno;
    ::close(dfd);
  } else {
    err = errno;
  }
  if (err != 0) fail(std::string("the folder could not be flushed: ") + std::strerror(err));
}

void WriteFileAtomically(const std::string& FName, std::string_view Data, const std::string& Who) {
  WriteFileAtomically(
      FName, [&](const TChunkSink& Sink) { Sink(Data); }, Who);
}

size_t FirstInvalidUtf8(std::string_view Text) {
  const auto* p = reinterpret_cast<const unsigned char*>(Text.data());
  const size_t n = Text.size();
  size_t i = 0;
  while (i < n) {
    // Runs of ASCII 32 and then eight bytes at a time: most documents are nearly all ASCII.
    while (i + 32 <= n) {
      uint64_t w[4];
      std::memcpy(w, p + i, 32);
      if ((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ull) break;
      i += 32;
    }
    while (i + 8 <= n) {
      uint64_t w;
      std::memcpy(&w, p + i, 8);
      if (w & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return i;
    }
    if (i + len > n || p[i + 1] < lo || p[i + 1] > hi) return i;
    for (size_t k = 2; k < len; ++k)
      if ((p[i + k] & 0xC0) != 0x80) return i;
    i += len;
  }
  return std::string_view::npos;
}

std::string LowerAscii(std::string_view S) {
  std::string r(S);
  for (char& ch : r)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return r;
}

namespace {

// The encoding named by the XML declaration at the start of an 8-bit text, lower case; empty
// when there is none.
std::string DeclaredEncoding(std::string_view Text) {
  if (Text.substr(0, 5) != "<?xml") return {};
  const std::string_view decl = Text.substr(0, Text.find("?>"));
  size_t p = decl.find("encoding");
  if (p == std::string_view::npos) return {};
  p += 8;
  auto blanks = [&] {
    while (p < decl.size() &&
           (decl[p] == ' ' || decl[p] == '\t' || decl[p] == '\r' || decl[p] == '\n'))
      ++p;
  };
  blanks();
  if (p >= decl.size() || decl[p] != '=') return {};
  ++p;
  blanks();
  if (p >= decl.size() || (decl[p] != '"' && decl[p] != '\'')) return {};
  const char quote = decl[p++];
  const size_t e = decl.find(quote, p);
  return LowerAscii(decl.substr(p, e == std::string_view::npos ? decl.size() - p : e - p));
}

enum TWideKind { wkNone, wk16LE, wk16BE, wk32LE, wk32BE };

// Wide text by its byte order mark (Bom tells its length) or by the zeros beside a first '<'.
TWideKind WideKindOf(std::string_view T, size_t& Bom) {
  auto is = [&](std::string_view Head) { return T.substr(0, Head.size()) == Head; };
  using namespace std::string_view_literals;
  Bom = 4;
  if (is("\xFF\xFE\0\0"sv)) return wk32LE;
  if (is("\0\0\xFE\xFF"sv)) return wk32BE;
  Bom = 2;
  if (is("\xFF\xFE"sv)) return wk16LE;
  if (is("\xFE\xFF"sv)) return wk16BE;
  Bom = 0;
  if (is("<\0\0\0"sv)) return wk32LE;
  if (is("\0\0\0<"sv)) return wk32BE;
  if (is("<\0"sv)) return wk16LE;
  if (is("\0<"sv)) return wk16BE;
  return wkNone;
}

}  // namespace

bool DecodeXmlToUtf8(std::string& Text, size_t& Start, bool& Converted, std::string& Error,
                     size_t& ErrorOffset) {
  Start = 0;
  Converted = false;
  size_t bom = 0;
  const TWideKind wide = WideKindOf(Text, bom);
  if (wide != wkNone) {
    const size_t unit = wide == wk16LE || wide == wk16BE ? 2 : 4;
    const bool le = wide == wk16LE || wide == wk32LE;
    auto unitAt = [&](size_t i) {
      uint32_t v = 0;
      for (size_t k = 0; k < unit; ++k) {
        const uint32_t b = static_cast<unsigned char>(Text[i + (le ? unit - 1 - k : k)]);
        v = v << 8 | b;
      }
      return v;
    };
    std::string out;
    out.reserve((Text.size() - bom) / unit + 16);
    const char* name = unit == 2 ? "UTF-16" : "UTF-32";
    auto bad = [&](const char* What) {
      Error = std::string("the text is not valid ") + name + " (" + What + ")";
      ErrorOffset = out.size();
      Text.swap(out);
      return false;
    };
    size_t i = bom;
    for (; i + unit <= Text.size(); i += unit) {
      uint32_t cp = unitAt(i);
      if (unit == 2 && cp >= 0xD800 && cp <= 0xDBFF) {
        if (i + 2 * unit > Text.size()) return bad("a surrogate without its pair");
        const uint32_t lo = unitAt(i + unit);
        if (lo < 0xDC00 || lo > 0xDFFF) return bad("a surrogate without its pair");
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        i += unit;
      } else if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        return bad("a value that is no character");
      }
      AppendUtf8(out, static_cast<char32_t>(cp));
    }
    if (i != Text.size()) return bad("the length is not a whole number of units");
    Text.swap(out);
    Converted = true;
    return true;
  }
  if (Text.compare(0, 3, "\xEF\xBB\xBF") == 0) Start = 3;
  const std::string enc = DeclaredEncoding(std::string_view(Text).substr(Start));
  if (enc == "iso-8859-1" || enc == "iso8859-1" || enc == "iso_8859-1" || enc == "latin1" ||
      enc == "latin-1" || enc == "l1") {
    if (Start != 0) {
      Error = "a UTF-8 byte order mark contradicts the declared encoding \"" + enc + "\"";
      ErrorOffset = 0;
      return false;
    }
    std::string out;
    out.reserve(Text.size() + Text.size() / 8);
    for (const char ch : Text) AppendUtf8(out, static_cast<unsigned char>(ch));
    Text.swap(out);
    Converted = true;
    return true;
  }
  if (!enc.empty() && enc != "utf-8" && enc != "utf8" && enc != "us-ascii" && enc != "ascii") {
    Error = "the encoding \"" + enc + "\" is not supported (UTF-8, UTF-16, UTF-32, ISO-8859-1)";
    ErrorOffset = Start;
    return false;
  }
  const size_t bad = FirstInvalidUtf8(std::string_view(Text).substr(Start));
  if (bad != std::string_view::npos) {
    Error = "the text is not valid UTF-8";
    ErrorOffset = Start + bad;
    return false;
  }
  return true;
}

char* DecodeTo(char* Out, std::string_view S) {
  const char* p = S.data();
  const char* const end = p + S.size();
  while (p < end) {
    const char* amp = static_cast<const char*>(std::memchr(p, '&', static_cast<size_t>(end - p)));
    if (!amp) amp = end;
    std::memmove(Out, p, static_cast<size_t>(amp - p));  // Out may lie within S
    Out += amp - p;
    p = amp;
    if (p == end) break;
    // A reference is at most 12 characters up to its ';'.
    const char* semi = static_cast<const char*>(
        std::memchr(p, ';', static_cast<size_t>(std::min<ptrdiff_t>(end - p, 13))));
    bool done = false;
    if (semi) {
      const std::string_view ref(p + 1, static_cast<size_t>(semi - p - 1));
      static constexpr std::pair<std::string_view, char> kNamed[] = {
          {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
      for (const auto& [name, ch] : kNamed)
        if (ref == name) {
          *Out++ = ch;
          done = true;
          break;
        }
      if (!done && ref.size() > 1 && ref[0] == '#') {
        uint32_t cp = 0;
        const bool hex = ref[1] == 'x';
        const char* b = ref.data() + (hex ? 2 : 1);
        const char* e = ref.data() + ref.size();
        const auto r = std::from_chars(b, e, cp, hex ? 16 : 10);
        if (r.ec == std::errc() && r.ptr == e && b != e && cp <= 0x10FFFF &&
            !(cp >= 0xD800 && cp <= 0xDFFF)) {
          // The shortest reference to a code point is longer than its UTF-8 form, which is
          // what lets the text be decoded over itself.
          if (cp != 0) {
            if (cp < 0x80) {
              *Out++ = static_cast<char>(cp);
            } else if (cp < 0x800) {
              *Out++ = static_cast<char>(0xC0 | cp >> 6);
              *Out++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
              *Out++ = static_cast<char>(0xE0 | cp >> 12);
              *Out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
              *Out++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else {
              *Out++ = static_cast<char>(0xF0 | cp >> 18);
              *Out++ = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
              *Out++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
              *Out++ = static_cast<char>(0x80 | (cp & 0x3F));
            }
          }
          done = true;
        }
      }
    }
    if (done) {
      p = semi + 1;
    } else {
      *Out++ = '&';
      ++p;
    }
  }
  return Out;
}

void AppendDecoded(std::string& Out, std::string_view S) {
  const size_t old = Out.size();
  Out.resize(old + S.size());  // decoding never lengthens
  Out.resize(static_cast<size_t>(DecodeTo(Out.data() + old, S) - Out.data()));
}

int LineOfOffset(std::string_view Text, size_t Offset) {
  Offset = std::min(Offset, Text.size());
  return 1 + static_cast<int>(std::count(Text.begin(), Text.begin() + Offset, '\n'));
}

namespace {

// What happens to a byte: copied, or replaced by a text from the context's table.
enum TEscapeAction : uint8_t { eaCopy, eaEntity, eaCharRef, eaDrop, eaReplacement };

struct TEscapeTable {
  std::array<uint8_t, 256> Action{};
};

constexpr TEscapeTable MakeTable(TMarkupContext Context) {
  TEscapeTable t;
  const bool html = Context == mcHtml;
  for (int c = 0; c < 0x20; ++c) t.Action[c] = html ? eaReplacement : eaCharRef;
  if (html) {
    t.Action['\t'] = t.Action['\n'] = t.Action['\r'] = eaCopy;
    t.Action[0x7F] = eaReplacement;
    t.Action['"'] = t.Action['\''] = eaEntity;
  } else {
    t.Action[0] = eaDrop;
    if (Context == mcXmlText) t.Action['\t'] = t.Action['\n'] = eaCopy;
    if (Context == mcXmlAttribute) t.Action['"'] = eaEntity;
  }
  t.Action['&'] = t.Action['<'] = t.Action['>'] = eaEntity;
  return t;
}

constexpr TEscapeTable kEscapeTables[] = {MakeTable(mcXmlText), MakeTable(mcXmlAttribute),
                                          MakeTable(mcHtml)};

const char* Entity(unsigned char Ch) {
  switch (Ch) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return "&#39;";
  }
}

}  // namespace

char* EscapeTo(char* Out, std::string_view S, TMarkupContext Context) {
  const auto& action = kEscapeTables[Context].Action;
  const char* p = S.data();
  const char* const end = p + S.size();
  while (p < end) {
    // Most texts need nothing: runs that stay are found by a table lookup and copied whole.
    const char* run = p;
    while (p < end && action[static_cast<unsigned char>(*p)] == eaCopy) ++p;
    std::memcpy(Out, run, static_cast<size_t>(p - run));
    Out += p - run;
    if (p == end) break;
    const auto ch = static_cast<unsigned char>(*p++);
    switch (action[ch]) {
      case eaEntity:
        for (const char* e = Entity(ch); *e; ++e) *Out++ = *e;
        break;
      case eaCharRef:  // control characters: "&#1;" to "&#31;"
        *Out++ = '&';
        *Out++ = '#';
        if (ch >= 10) *Out++ = static_cast<char>('0' + ch / 10);
        *Out++ = static_cast<char>('0' + ch % 10);
        *Out++ = ';';
        break;
      case eaReplacement:
        for (const char r : {'\xEF', '\xBF', '\xBD'}) *Out++ = r;
        break;
      default:
        break;  // dropped
    }
  }
  return Out;
}

void AppendEscaped(std::string& Out, std::string_view S, TMarkupContext Context) {
  constexpr size_t kPiece = 1024;
  char buf[kMaxEscapedBytesPerByte * kPiece];
  while (!S.empty()) {
    const std::string_view piece = S.substr(0, kPiece);
    Out.append(buf, static_cast<size_t>(EscapeTo(buf, piece, Context) - buf));
    S.remove_prefix(piece.size());
  }
}

}  // namespace qel::rlfiles
