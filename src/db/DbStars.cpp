#include "db/DbStars.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "config/MyConfig.h"
#include "db/Latin1.h"

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
    if (!m_buf) m_buf.reset(new char[kBlock]);
    m_pos = m_end = 0;
    for (;;) {
      ssize_t n = read(m_fd, m_buf.get(), kBlock);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) m_failed = true;
      if (n <= 0) return false;
      m_end = (size_t)n;
      return true;
    }
  }

  static const size_t kBlock = 1 << 20;
  int m_fd;
  std::unique_ptr<char[]> m_buf;
  size_t m_pos = 0, m_end = 0;
  bool m_skipLf = false;
  bool m_failed = false;
};

// Columns [col, col + width) of a line, ending at a NUL byte, without the
// trailing blanks.
std::string Column(const std::string& head, size_t col, size_t width) {
  if (head.size() <= col) return std::string();
  std::string s = head.substr(col, width);
  s = s.substr(0, strnlen(s.c_str(), s.size()));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The stars of a validation file, or false when it cannot be read.
bool ReadValidationFile(const wxString& path, char kind, std::vector<TStar_data>& stars) {
  if (path.empty()) return false;
  const int fd = open(path.fn_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    return false;
  }
  LineReader reader(fd);
  std::string head;
  size_t length = 0;
  int markers = 0;
  char last[kNameWidth];  // name of the star stored last
  bool any = false;
  while (reader.Next(head, length)) {
    // The first marker line opens the list, the second closes it.
    if (!head.empty() && head[0] == '*') {
      if (++markers == 2) break;
      continue;
    }
    TStar_data star;
    memset(&star, 0, sizeof star);
    std::string name = Column(head, kNameCol, kNameWidthCols);
    for (char& c : name)
      if (c == '\'') c = '`';
    pelk::CopyField(star.name, sizeof star.name, name.c_str());
    // Only a directly repeated name is dropped.
    if (any && pelk::NameIndex::SameName(last, star.name, kNameWidth)) continue;
    pelk::CopyField(star.harvard, sizeof star.harvard, Column(head, kHarvardCol, kHarvardWidth).c_str());
    if (length >= kLineNeeded)
      pelk::CopyField(star.type, sizeof star.type, Column(head, kTypeCol, kTypeWidth).c_str());
    star.cls = kind;
    stars.push_back(star);
    memcpy(last, star.name, kNameWidth);
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
  std::vector<TStar_data> stars;
  if (!ReadValidationFile(path, kind, stars)) return -1;
  Release();
  m_names.Clear();
  for (const TStar_data& star : stars) {
    if (wxMemDb::Insert(&star) != 0) {
      // Out of memory: a table cut short must never replace the real one.
      Release();
      m_dirty = false;
      return -1;
    }
  }
  Setup(ProgramFile("stars.db"), 0, 0, false);
  m_dirty = true;
  return 0;
}

int wxDbStars::Merge(wxDbStars& source, const char* classes, int replace) {
  if (!classes) return 0;
  const size_t nClasses = strlen(classes);
  // Fixed before the loop: merging a table into itself adds nothing.
  const int count = source.GetCount();
  int merged = 0;
  int rc = 0;
  TStar_data star;
  for (int i = 0; i < count; ++i) {
    if (source.Get(i, &star) != 1) break;
    if (star.cls == '\0' || !memchr(classes, star.cls, nClasses)) continue;
    ++merged;
    const int at = GetIndex(star.name, 0);
    if (at < 0) {
      if (Insert(&star) != 0) {
        rc = -1;
        break;
      }
    } else if (replace) {
      TStar_data* mine = reinterpret_cast<TStar_data*>(Record(at));
      memcpy(mine->harvard, star.harvard, sizeof star.harvard);
      memcpy(mine->type, star.type, sizeof star.type);
      mine->cls = star.cls;
    }
  }
  if (merged > 0) m_dirty = true;
  return rc < 0 ? rc : merged;
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
