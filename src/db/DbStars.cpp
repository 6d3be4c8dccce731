#include "db/DbStars.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "config/MyConfig.h"
#include "db/PodBuffer.h"

wxDbStars g_stars;

const char ConstellNames[] =
    "ANDANTAPSAQRAQLARAARIAURBOOCAECAMCNCCVNCMACMICAPCARCASCENCEPCETCHACIRCOLCOMCRACRBCRVCRTCRUCYGDELDORDRA"
    "EQUERIFORGEMGRUHERHORHYAHYIINDLACLEOLMILEPLIBLUPLYNLYRMENMICMONMUSNOROCTOPHORIPAVPEGPERPHEPICPSCPSAPUP"
    "PYXRETSGESGRSCOSCLSCTSERSEXTAUTELTRITRATUCUMAUMIVELVIRVOLVUL";
static_assert(sizeof(ConstellNames) == CONSTELL_COUNT * 3 + 1, "88 abbreviations of three letters");

const char* const varType[] = {
    "*",     "?",     "ACV",   "ACYG",  "AGN",   "AM",   "BCEP", "BLLAC", "BY",      "CEP",   "CEP(B)",
    "CWA",   "CWB",   "DCEP",  "DCEPS", "CST",   "CV",   "DSCT", "E",     "EA",      "EB",    "EW",
    "ELL",   "EP",    "DM",    "KW",    "FU",    "GCAS", "GRB",  "GS",    "I",       "IA",    "IB",
    "IN",    "INA",   "INB",   "INS",   "INSA",  "INSB", "INST", "INT",   "IS",      "ISA",   "ISB",
    "IST",   "L",     "LB",    "LC",    "M",     "N",    "NA",   "NB",    "NC",      "NL",    "NR",
    "PN",    "PVTEL", "QSO",   "R",     "RCB",   "RR",   "RRAB", "RRC",   "RS",      "RV",    "RVA",
    "RVB",   "S",     "SD",    "SDOR",  "SEYFERT", "SN", "SR",   "SRA",   "SRB",     "SRC",   "SRD",
    "SRS",   "SXARI", "SXPHE", "UG",    "UGSS",  "UGSU", "UGZ",  "UV",    "WD",      "WR",    "X",
    "XBP",   "XI",    "XJ",    "XM",    "XN",    "XND",  "XNGP", "XP",    "XPM",     "XPNG",  "XPR",
    "ZAND",  "ZANDE", "ZZ"};
static_assert(sizeof(varType) / sizeof(varType[0]) == VARTYPE_COUNT, "102 type names");

namespace {

const size_t kNameWidth = sizeof(TStar_data::name);

wxString ProgramFile(const char* name) {
  return config ? config->GetFolder(name, FOLDER_PROGRAM) : wxString(name);
}

int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// ---------------------------------------------------------------------------
// Validation text files

// Columns of a star line, counted from 0.
const size_t kHarvardCol = 0, kHarvardWidth = 10;
const size_t kNameCol = 10, kNameWidthCols = 10;
const size_t kTypeCol = 22, kTypeWidth = 10;
const size_t kLineNeeded = kTypeCol + kTypeWidth;  // 32: a shorter line has no type

// Reads a text file line by line, accepting LF, CR LF and CR line ends and
// a last line without any. Only the first 32 bytes of a line are kept (no
// field lies beyond them), so an endless line costs no memory.
class LineReader {
 public:
  explicit LineReader(int fd) : m_fd(fd) {}
  // Next line into `head` (its first bytes) and `length` (its full
  // length). False at the end of the file, or on a read error (`Failed`).
  bool Next(std::string& head, size_t& length) {
    head.clear();
    length = 0;
    bool any = false;
    for (;;) {
      if (m_pos == m_end && !Fill()) return any;
      if (m_skipLf) {
        m_skipLf = false;
        if (m_buf[m_pos] == '\n') {
          ++m_pos;
          continue;
        }
      }
      any = true;
      const char* start = m_buf.get() + m_pos;
      const char* stop = m_buf.get() + m_end;
      const char* p = start;
      while (p < stop && *p != '\n' && *p != '\r') ++p;
      const size_t n = (size_t)(p - start);
      if (length < kLineNeeded) head.append(start, n < kLineNeeded - length ? n : kLineNeeded - length);
      length += n;
      m_pos += n;
      if (p == stop) continue;  // the line goes on in the next block
      ++m_pos;
      if (*p == '\r') m_skipLf = true;  // a CR LF pair ends one line
      return true;
    }
  }
  bool Failed() const { return m_failed; }

 private:
  bool Fill() {
    if (!m_buf) m_buf.reset(new (std::nothrow) char[kBlock]);
    m_pos = m_end = 0;
    if (!m_buf) {
      m_failed = true;
      return false;
    }
    for (;;) {
      ssize_t n = read(m_fd, m_buf.get(), kBlock);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) m_failed = true;
      if (n <= 0) return false;
      m_end = (size_t)n;
      return true;
    }
  }

  static const size_t kBlock = 1 << 16;
  int m_fd;
  std::unique_ptr<char[]> m_buf;
  size_t m_pos = 0, m_end = 0;
  bool m_skipLf = false;
  bool m_failed = false;
};

// Copies columns [col, col + width) of a line into a field, ending at a NUL
// byte and without the trailing blanks.
void CopyColumn(char* field, size_t fieldSize, const std::string& head, size_t col, size_t width) {
  size_t n = 0;
  if (head.size() > col) {
    const char* from = head.data() + col;
    const size_t avail = std::min(head.size() - col, width);
    n = strnlen(from, avail);
    while (n > 0 && from[n - 1] == ' ') --n;
    n = std::min(n, fieldSize - 1);
    memcpy(field, from, n);
  }
  memset(field + n, 0, fieldSize - n);
}

// The stars read from a file, before they replace the table.
using StarBuffer = pelk::PodBuffer<TStar_data>;

// The stars of a validation file, or false when it cannot be read (or
// memory runs out).
bool ReadValidationFile(const wxString& path, char kind, StarBuffer& stars) {
  if (path.empty()) return false;
  const int fd = open(path.fn_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return false;
  }
  // A star line is some 40 bytes: room for them all at once, as long as
  // the file does not lie about its size.
  if (S_ISREG(st.st_mode)) stars.Reserve((size_t)std::min<off_t>(st.st_size / 32 + 16, 1 << 22));
  LineReader reader(fd);
  std::string head;
  size_t length = 0;
  int markers = 0;
  TStar_data star;
  bool any = false;  // a star has been stored; its name is in star.name
  while (reader.Next(head, length)) {
    // The first marker line opens the list, the second closes it.
    if (!head.empty() && head[0] == '*') {
      if (++markers == 2) break;
      continue;
    }
    char name[sizeof star.name];
    CopyColumn(name, sizeof name, head, kNameCol, kNameWidthCols);
    for (char* c = name; *c; ++c)
      if (*c == '\'') *c = '`';
    // Only a directly repeated name is dropped.
    if (any && memcmp(name, star.name, sizeof name) == 0) continue;
    memcpy(star.name, name, sizeof name);
    CopyColumn(star.harvard, sizeof star.harvard, head, kHarvardCol, kHarvardWidth);
    CopyColumn(star.type, sizeof star.type, length >= kLineNeeded ? head : std::string(), kTypeCol, kTypeWidth);
    star.cls = kind;
    if (!stars.Add(star)) {
      close(fd);
      return false;
    }
    any = true;
  }
  const bool ok = !reader.Failed();
  close(fd);
  return ok;
}

}  // namespace

// ---------------------------------------------------------------------------
// wxDbStars

wxDbStars::wxDbStars() : wxMemDb(sizeof(TStar_data), kNameWidth, false), m_names(kNameWidth) {}

int wxDbStars::Open() {
  m_names.Clear();
  return wxMemDb::Open();
}

int wxDbStars::Open(const wxString&) {
  Setup(ProgramFile("stars.db"), 0, 0, false);
  return Open();
}

int wxDbStars::Close() {
  const int rc = wxMemDb::Close();
  if (rc == 0) m_names.Clear();
  return rc;
}

bool wxDbStars::IndexReady() const {
  if (m_names.IsBuilt() && m_names.Covered() == m_dbCount) return true;
  return m_names.Build(m_db, m_dbCount, m_reclen);
}

int wxDbStars::TestKey(int index, const void* key, int mode) const {
  if (!key || index < 0 || index >= m_dbCount) return -1;
  const unsigned char* rec = reinterpret_cast<const unsigned char*>(Record(index));
  const unsigned char* k = static_cast<const unsigned char*>(key);
  // The key, too, is a name field: at most its width.
  for (size_t i = 0; i < kNameWidth; ++i) {
    if (mode == 1 && k[i] == 0) return 0;
    int a = rec[i], b = k[i];
    if (mode == 1) a = LowerAscii((unsigned char)a), b = LowerAscii((unsigned char)b);
    if (a != b) return a - b;
    if (a == 0) return 0;
  }
  return 0;
}

int wxDbStars::GetIndex(const void* key, int mode) const {
  if (!key) return -1;
  if (mode != 1 && IndexReady()) return m_names.Find(m_db, m_reclen, static_cast<const char*>(key));
  for (int i = 0; i < m_dbCount; ++i)
    if (TestKey(i, key, mode) == 0) return i;
  return -1;
}

void* wxDbStars::Seek(const void* key, int mode) {
  const int i = GetIndex(key, mode);
  return i < 0 ? nullptr : Record(i);
}

int wxDbStars::Find(void* buffer, int mode) const {
  const int i = GetIndex(buffer, mode);
  if (i < 0) return -1;
  memmove(buffer, Record(i), (size_t)m_reclen);
  return 0;
}

int wxDbStars::Insert(const void* record) {
  const bool inStep = m_names.IsBuilt() && m_names.Covered() == m_dbCount;
  if (wxMemDb::Insert(record) != 0) return -1;
  if (inStep)
    m_names.Appended(m_db, m_dbCount, m_reclen, m_dbCount - 1);
  else
    m_names.Clear();
  return 0;
}

int wxDbStars::Change(const void* record) {
  // The record keeps its name, so the index stays as it is.
  const int i = GetIndex(record, 0);
  if (i < 0) return -1;
  memmove(Record(i), record, (size_t)m_reclen);
  m_dirty = true;
  return 0;
}

int wxDbStars::Delete(const void* key) {
  const int i = GetIndex(key, 0);
  return i < 0 ? -1 : Delete(i);
}

int wxDbStars::Delete(int index) {
  if (index == -1) index = m_cursor;
  if (index < 0 || index >= m_dbCount) return -1;
  if (m_names.IsBuilt() && m_names.Covered() == m_dbCount)
    m_names.Removing(m_db, m_dbCount, m_reclen, index);
  else
    m_names.Clear();
  return wxMemDb::Delete(index);
}

int wxDbStars::OpenText(const wxString& path, char kind) {
  StarBuffer stars;
  if (!ReadValidationFile(path, kind, stars)) return -1;
  Release();
  m_names.Clear();
  // Out of memory: a table cut short must never replace the real one.
  if (stars.Count() > 0 && !Reserve((long long)stars.Count())) {
    Release();
    m_dirty = false;
    return -1;
  }
  if (stars.Count() > 0) memcpy(m_db, stars.Data(), stars.Count() * sizeof(TStar_data));
  m_dbCount = (int)stars.Count();
  Setup(ProgramFile("stars.db"), 0, 0, false);
  m_dirty = true;
  return 0;
}

int wxDbStars::Merge(wxDbStars& source, const char* classes, int replace) {
  if (!classes) return 0;
  const size_t nClasses = strlen(classes);
  // Fixed before the loop: merging a table into itself adds nothing.
  const int count = source.GetCount();
  // Every source star may be new: the block and the name index grow once,
  // not on the way.
  if ((long long)m_dbCount + count > m_capacity) Reserve((long long)m_dbCount + count);
  if (IndexReady()) m_names.Reserve((size_t)m_dbCount + (size_t)count);
  // The name index of a big table is far bigger than the caches: the slot
  // and the record of the stars a little ahead are asked for early, so
  // that their waits overlap.
  const int kAhead = 16;
  uint32_t hashes[kAhead];
  auto hashOf = [&](int i) -> uint32_t& { return hashes[i % kAhead]; };
  auto nameOf = [&](int i) { return static_cast<const char*>(source.Get(i)); };
  for (int i = 0; i < kAhead && i < count; ++i) hashOf(i) = pelk::NameIndex::Hash(nameOf(i), kNameWidth);
  int merged = 0;
  TStar_data star;
  for (int i = 0; i < count; ++i) {
    const uint32_t hash = hashOf(i);
    if (i + kAhead < count) {
      const uint32_t ahead = pelk::NameIndex::Hash(nameOf(i + kAhead), kNameWidth);
      hashOf(i + kAhead) = ahead;
      m_names.PrefetchSlot(ahead);
    }
    if (i + kAhead / 2 < count) m_names.PrefetchRecord(m_db, m_reclen, hashOf(i + kAhead / 2));

    if (source.Get(i, &star) != 1) break;
    if (star.cls == '\0' || !memchr(classes, star.cls, nClasses)) continue;
    ++merged;
    const int at = IndexReady() ? m_names.Find(m_db, m_reclen, star.name, hash) : GetIndex(star.name, 0);
    if (at < 0) {
      if (Insert(&star) != 0) {
        m_dirty = true;
        return -1;
      }
    } else if (replace) {
      TStar_data* mine = reinterpret_cast<TStar_data*>(Record(at));
      memcpy(mine->harvard, star.harvard, sizeof star.harvard);
      memcpy(mine->type, star.type, sizeof star.type);
      mine->cls = star.cls;
    }
  }
  if (merged > 0) m_dirty = true;
  return merged;
}

// ---------------------------------------------------------------------------
// Loaders

int LoadAavsoValidation(const wxString& path, int* count) {
  if (count) *count = 0;
  wxDbStars fresh;
  if (fresh.OpenText(path, 'F') != 0) return VALIDATION_CANNOT_OPEN;
  // A table whose file could not be read cannot be carried over: writing
  // the new one would lose the stars added by hand.
  const int read = fresh.GetCount();
  const int kept = g_stars.IsUnreadable() ? -1 : fresh.Merge(g_stars, "FEU", 0);
  if (kept < 0) {
    fresh.AbandonChanges();
    return VALIDATION_NOT_SAVED;
  }
  g_stars.AbandonChanges();
  g_stars.Close();
  const bool written = fresh.Close() == 0;
  if (!written) fresh.AbandonChanges();
  // Reopened from whatever the file now holds: the new table, or the old
  // one when it could not be replaced.
  const bool reopened = g_stars.Open(wxString()) == 0;
  if (!written || !reopened) return VALIDATION_NOT_SAVED;
  if (count) *count = read - kept > 0 ? read - kept : 0;
  return VALIDATION_LOADED;
}

namespace {

int MergeValidationFile(const wxString& path, char kind, int* count) {
  if (count) *count = 0;
  wxDbStars fresh;
  if (fresh.OpenText(path, kind) != 0) return VALIDATION_CANNOT_OPEN;
  const char classes[2] = {kind, '\0'};
  const int merged = g_stars.Merge(fresh, classes, 1);
  fresh.AbandonChanges();
  fresh.Close();
  if (merged < 0) return VALIDATION_NOT_SAVED;
  if (count) *count = merged;
  return g_stars.Save(false) == 0 ? VALIDATION_LOADED : VALIDATION_NOT_SAVED;
}

}  // namespace

int LoadEclipsingValidation(const wxString& path, int* count) { return MergeValidationFile(path, 'E', count); }

int LoadValidationCorrection(const wxString& path, int* count) { return MergeValidationFile(path, 'F', count); }
