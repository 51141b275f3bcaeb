// Native private-profile files. Parsing, look-ups, list truncation and the
// rewritten file follow the Win32 API as Wine implements it, quirks included,
// so an ini file reads and writes the same in both builds (the tests run the
// same table against the real API under Wine).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>

#include "platform/ini.h"
#include "platform/path.h"
#include "platform/platform_detail.h"

namespace platform {
namespace {

struct IniKey {
  std::string name;
  std::string value;
  bool hasValue = false;  // false for a line without '='
};

struct IniSection {
  std::string name;  // empty for the keys before the first header
  std::vector<IniKey> keys;
};

struct IniDoc {
  bool utf8Bom = false;  // kept on rewrite, as Win32 keeps the file's encoding
  std::vector<IniSection> sections;
};

using DocPtr = std::shared_ptr<const IniDoc>;

// ^Z counts as a blank: old DOS files end with it.
bool IsBlank(char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' '; }

void TrimBlanks(const char*& b, const char*& e) {
  while (b < e && IsBlank(*b))
    ++b;
  while (e > b && IsBlank(e[-1]))
    --e;
}

// Names and values are C strings to the API: an embedded NUL ends them.
std::string CString(const char* b, const char* e) {
  const void* nul = std::memchr(b, 0, static_cast<size_t>(e - b));
  return std::string(b, nul ? static_cast<const char*>(nul) : e);
}

// A "[name]" line (up to the last ']'); false for anything else.
bool ParseHeader(const char* b, const char* e, std::string& name) {
  if (*b != '[') return false;
  const char* close = e;
  while (close > b && close[-1] != ']')
    --close;
  if (close == b) return false;  // no ']': the line is read as a key
  const char* nb = b + 1;
  const char* ne = close - 1;
  TrimBlanks(nb, ne);
  name = CString(nb, ne);
  return true;
}

IniKey ParseKey(const char* b, const char* e, size_t& rawNameLen) {
  IniKey key;
  const char* eq = static_cast<const char*>(std::memchr(b, '=', static_cast<size_t>(e - b)));
  const char* nameEnd = eq ? eq : e;
  if (eq) {
    while (nameEnd > b && IsBlank(nameEnd[-1]))
      --nameEnd;
    const char* v = eq + 1;
    while (v < e && IsBlank(*v))
      ++v;
    key.value = CString(v, e);
    key.hasValue = true;
  }
  rawNameLen = static_cast<size_t>(nameEnd - b);
  key.name = CString(b, nameEnd);
  return key;
}

IniDoc Parse(const std::vector<uint8_t>& bytes) {
  IniDoc doc;
  if (bytes.empty()) return doc;  // an empty file has no sections, not even the unnamed one
  const char* p = reinterpret_cast<const char*>(bytes.data());
  const char* end = p + bytes.size();
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    doc.utf8Bom = true;
    p += 3;
  }
  doc.sections.emplace_back();
  bool prevKey = false, prevNamed = false;
  while (p < end) {
    // Lines end at any run of CR/LF, so LF, CRLF and lone CR files all read.
    const char* b = p;
    while (p < end && *p != '\n' && *p != '\r')
      ++p;
    const char* e = p;
    while (p < end && (*p == '\n' || *p == '\r'))
      ++p;
    TrimBlanks(b, e);
    if (b == e) continue;
    std::string header;
    if (ParseHeader(b, e, header)) {
      doc.sections.push_back({header, {}});
      prevKey = false;
      continue;
    }
    size_t rawNameLen;
    IniKey key = ParseKey(b, e, rawNameLen);
    // Consecutive nameless lines ("=x") collapse into the first one.
    if (rawNameLen == 0 && prevKey && !prevNamed) continue;
    prevKey = true;
    prevNamed = !key.name.empty();
    doc.sections.back().keys.push_back(std::move(key));
  }
  return doc;
}

std::string Serialize(const IniDoc& doc) {
  std::string out = doc.utf8Bom ? "\xEF\xBB\xBF" : "";
  for (const IniSection& s : doc.sections) {
    if (!s.name.empty()) out += "[" + s.name + "]\r\n";
    for (const IniKey& k : s.keys) {
      out += k.name;
      if (k.hasValue) out += "=" + k.value;
      out += "\r\n";
    }
  }
  return out;
}

// Look-ups ignore blanks around the requested names; the first match wins and
// a key missing from the first matching section is missing.
std::string TrimmedName(const char* s) {
  const char* b = s;
  const char* e = s + std::strlen(s);
  TrimBlanks(b, e);
  return std::string(b, e);
}

template <class Doc>
auto FindSection(Doc& doc, const std::string& name) -> decltype(&doc.sections[0]) {
  for (auto& s : doc.sections)
    if (detail::EqualsNoCaseAscii(s.name, name)) return &s;
  return nullptr;
}

template <class Section>
auto FindKey(Section& s, const std::string& name) -> decltype(&s.keys[0]) {
  for (auto& k : s.keys)
    if (detail::EqualsNoCaseAscii(k.name, name)) return &k;
  return nullptr;
}

const IniKey* LookUp(const IniDoc& doc, const char* section, const char* key) {
  const IniSection* s = FindSection(doc, TrimmedName(section));
  return s ? FindKey(*s, TrimmedName(key)) : nullptr;
}

// Copies like lstrcpyn: at most size - 1 characters and a NUL.
uint32_t CopyTruncated(char* out, uint32_t size, const char* s, size_t n) {
  size_t c = std::min<size_t>(n, size - 1);
  std::memcpy(out, s, c);
  out[c] = '\0';
  return static_cast<uint32_t>(c);
}

// A value in matching quotes loses them. As in Win32 the closing quote is
// dropped by position, so a buffer exactly one short also loses the last
// character of the value.
uint32_t CopyEntry(char* out, uint32_t size, const std::string& value) {
  const char* s = value.c_str();
  size_t n = value.size();
  bool quoted = n >= 2 && (s[0] == '"' || s[0] == '\'') && s[n - 1] == s[0];
  if (quoted) {
    ++s;
    --n;
  }
  uint32_t c = CopyTruncated(out, size, s, n);
  if (quoted && size >= n && c > 0) out[--c] = '\0';
  return c;
}

// The key names of one section, each NUL-terminated, then a NUL. Comments
// (';'), lines without '=' are left out; a cut list returns size - 2.
uint32_t ListKeys(const IniSection& s, char* buf, uint32_t size) {
  uint32_t left = size;
  char* p = buf;
  for (const IniKey& k : s.keys) {
    if (left <= 2) break;
    if (!k.hasValue || (!k.name.empty() && k.name[0] == ';')) continue;
    size_t n = std::min<size_t>(k.name.size(), left - 2);
    std::memcpy(p, k.name.data(), n);
    p[n] = '\0';
    p += n + 1;
    left -= static_cast<uint32_t>(n + 1);
    if (left < 2) break;
  }
  *p = '\0';
  if (left <= 1) {
    if (p > buf) p[-1] = '\0';
    return size - 2;
  }
  return size - left;
}

// The named sections, as ListKeys; a name that fits only exactly also counts
// as cut (Win32 does the same).
uint32_t ListSections(const IniDoc& doc, char* buf, uint32_t size) {
  buf[0] = '\0';
  if (size < 2) return 0;
  buf[1] = '\0';
  uint32_t room = size - 1;
  char* p = buf;
  for (const IniSection& s : doc.sections) {
    if (s.name.empty()) continue;
    size_t need = s.name.size() + 1;
    if (need >= room) {
      std::memcpy(p, s.name.data(), room - 1);
      p += room - 1;
      *p++ = '\0';
      *p = '\0';
      return size - 2;
    }
    std::memcpy(p, s.name.c_str(), need);
    p += need;
    room -= static_cast<uint32_t>(need);
  }
  *p = '\0';
  return static_cast<uint32_t>(p - buf);
}

// Parsed files, reused while the file on disk is unchanged (same identity,
// size and times). Writes go through here too and drop the entry, so a
// read after IniWriteString always sees the new contents.
struct FileStamp {
  dev_t dev;
  ino_t ino;
  off_t size;
  timespec mtime;
  timespec ctime;
  bool operator==(const FileStamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

enum class Open { kOk, kMissing, kError };

class IniCache {
 public:
  // The parsed file; kMissing (an empty document) when the file does not exist
  // but its folder does, kError when it cannot be read at all.
  Open Load(const std::string& path, DocPtr& doc) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return LoadMissing(path, doc);
    if (S_ISDIR(st.st_mode)) return Open::kError;
    FileStamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    bool settled = IsSettled(stamp);
    auto it = entries_.find(path);
    if (settled && it != entries_.end() && it->second.stamp == stamp) {
      doc = it->second.doc;
      return Open::kOk;
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path.c_str(), bytes)) return Open::kError;
    doc = std::make_shared<const IniDoc>(Parse(bytes));
    if (!settled) {
      entries_.erase(path);
      return Open::kOk;
    }
    if (entries_.size() >= kMaxFiles) entries_.clear();
    entries_[path] = {stamp, doc};
    return Open::kOk;
  }

  void Forget(const std::string& path) { entries_.erase(path); }

  std::mutex mutex;

 private:
  static constexpr size_t kMaxFiles = 32;

  // File times are coarse (a few milliseconds, seconds on some file systems),
  // so a file changed within the last two seconds may change again without
  // its stamp moving: such files are parsed afresh on every call.
  static bool IsSettled(const FileStamp& stamp) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    time_t latest = std::max(stamp.mtime.tv_sec, stamp.ctime.tv_sec);
    return now.tv_sec - latest >= 3;
  }

  Open LoadMissing(const std::string& path, DocPtr& doc) {
    int error = errno;
    entries_.erase(path);
    if (error != ENOENT) return Open::kError;
    size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Open::kError;
    doc = std::make_shared<const IniDoc>();
    return Open::kMissing;
  }

  struct Entry {
    FileStamp stamp;
    DocPtr doc;
  };
  std::map<std::string, Entry> entries_;
};

IniCache& Cache() {
  static IniCache cache;
  return cache;
}

// Blanks at the end of a default are dropped, but never its first character.
std::string TrimDefault(const char* def) {
  size_t n = std::strlen(def);
  while (n > 1 && def[n - 1] == ' ')
    --n;
  return std::string(def, n);
}

uint32_t GetKeyList(const char* section, const std::string& def, char* out, uint32_t size,
                    const std::string& path) {
  IniCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  DocPtr doc;
  uint32_t n = 0;
  out[0] = '\0';
  if (cache.Load(path, doc) != Open::kError) {
    for (const IniSection& s : doc->sections) {
      if (detail::EqualsNoCaseAscii(s.name, section)) {
        n = ListKeys(s, out, size);
        break;
      }
    }
  }
  // An empty list (a missing or empty section) gives the default instead.
  return out[0] ? n : CopyEntry(out, size, def);
}

bool SaveDoc(const std::string& path, const IniDoc& doc) {
  std::string bytes = Serialize(doc);
  return detail::WriteFileReplacing(path.c_str(), bytes.data(), bytes.size(), false);
}

// Adds or replaces section/key = value the way Win32 does: a new key goes to
// the end of the first matching section, a new section to the end of the
// file; the value loses its leading blanks. False when nothing changed.
bool SetValue(IniDoc& doc, const char* section, const char* key, const char* value) {
  while (IsBlank(*section))
    ++section;
  while (IsBlank(*key))
    ++key;
  while (IsBlank(*value))
    ++value;
  IniSection* s = FindSection(doc, TrimmedName(section));
  if (!s) {
    doc.sections.push_back({section, {}});
    s = &doc.sections.back();
  }
  IniKey* k = FindKey(*s, TrimmedName(key));
  if (!k) {
    s->keys.push_back({key, "", false});
    k = &s->keys.back();
  }
  if (k->hasValue && k->value == value) return false;
  k->value = value;
  k->hasValue = true;
  return true;
}

// Deletes are matched on the names exactly as given (no trimming).
bool DeleteKey(IniDoc& doc, const char* section, const char* key) {
  for (IniSection& s : doc.sections) {
    if (!detail::EqualsNoCaseAscii(s.name, section)) continue;
    for (auto it = s.keys.begin(); it != s.keys.end(); ++it) {
      if (detail::EqualsNoCaseAscii(it->name, key)) {
        s.keys.erase(it);
        return true;
      }
    }
  }
  return false;
}

bool DeleteSection(IniDoc& doc, const char* section) {
  for (auto it = doc.sections.begin(); it != doc.sections.end(); ++it) {
    if (detail::EqualsNoCaseAscii(it->name, section)) {
      doc.sections.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace

uint32_t IniGetString(const char* section, const char* key, const char* def, char* out,
                      uint32_t size, const char* file) {
  if (!out || size == 0) return 0;
  if (!def) def = "";
  std::string path = NativePath(file ? file : "");
  if (!section) {
    IniCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    DocPtr doc;
    if (cache.Load(path, doc) == Open::kError) {
      out[0] = '\0';
      return 0;
    }
    return ListSections(*doc, out, size);
  }
  if (!key) return GetKeyList(section, def, out, size, path);
  std::string trimmedDef = TrimDefault(def);
  IniCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  DocPtr doc;
  Open st = cache.Load(path, doc);
  if (st == Open::kError)  // unreadable: the default as given, quotes and all
    return CopyTruncated(out, size, trimmedDef.data(), trimmedDef.size());
  const IniKey* k = LookUp(*doc, section, key);
  return CopyEntry(out, size, k && k->hasValue ? k->value : trimmedDef);
}

int IniGetInt(const char* section, const char* key, int def, const char* file) {
  // Win32 reads the value into a 30-character buffer and converts it like
  // RtlUnicodeStringToInteger with base 0: blanks, a sign, an optional
  // 0x/0o/0b prefix, then digits up to the first invalid one. An empty or
  // missing value gives the default.
  char buf[30];
  if (IniGetString(section, key, "", buf, sizeof buf, file) == 0 || buf[0] == '\0') return def;
  const char* p = buf;
  while (*p && static_cast<unsigned char>(*p) <= ' ')
    ++p;
  bool minus = false;
  if (*p == '+' || *p == '-') minus = *p++ == '-';
  unsigned base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
    base = p[1] == 'x' ? 16 : (p[1] == 'o' ? 8 : 2);
    p += 2;
  }
  uint32_t total = 0;  // wraps like the Win32 ULONG
  for (; *p; ++p) {
    unsigned c = static_cast<unsigned char>(*p), digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'z')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z')
      digit = c - 'A' + 10;
    else
      break;
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<int>(minus ? 0u - total : total);
}

bool IniWriteString(const char* section, const char* key, const char* value, const char* file) {
  if (!section || !file) return false;
  std::string path = NativePath(file);
  IniCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  DocPtr current;
  if (cache.Load(path, current) == Open::kError) return false;
  IniDoc doc = *current;
  bool changed;
  if (!key)
    changed = DeleteSection(doc, section);
  else if (!value)
    changed = DeleteKey(doc, section, key);
  else
    changed = SetValue(doc, section, key, value);
  if (!changed) return true;
  // A read-only file stays as it is, as on Windows.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return false;
  cache.Forget(path);
  return SaveDoc(path, doc);
}

}  // namespace platform
