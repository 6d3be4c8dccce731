#include "db/Db.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "db/AtomicFile.h"

namespace {

int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Reads up to `size` bytes at `offset`; returns how many arrived (a short
// count at the end of the file or on an error).
size_t ReadAt(int fd, char* buf, size_t size, off_t offset) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = pread(fd, buf + done, size - done, offset + (off_t)done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += (size_t)n;
  }
  return done;
}

}  // namespace

namespace pelk {

// A big block is laid on a 2 MB boundary and asked
// for huge pages: filling a hundred megabytes page by page costs several
// times as much as reading the file into it.
char* NewBlock(size_t bytes) {
  const size_t huge = (size_t)2 << 20;
  if (bytes < 2 * huge) return static_cast<char*>(malloc(bytes));
  void* p = nullptr;
  if (posix_memalign(&p, huge, bytes) != 0) return nullptr;
  madvise(p, bytes & ~(size_t)4095, MADV_HUGEPAGE);  // only advice: fine if refused
  return static_cast<char*>(p);
}

}  // namespace pelk

wxMemDb::wxMemDb() = default;

wxMemDb::wxMemDb(int reclen, int keylen, bool binaryKeys)
    : m_reclen(reclen), m_keylen(keylen), m_binaryKeys(binaryKeys) {}

wxMemDb::~wxMemDb() {
  // Nobody is left to retry a failed save: the block goes regardless.
  if (wxMemDb::Close() != 0) Release();
}

int wxMemDb::Setup(const wxString& path, int reclen, int keylen, bool binaryKeys) {
  m_unreadable = false;
  m_path = path;
  if (reclen != 0) m_reclen = reclen;
  if (keylen != 0) m_keylen = keylen;
  m_binaryKeys = binaryKeys;
  return 0;
}

void wxMemDb::Release() {
  free(m_block);
  m_block = nullptr;
  m_db = nullptr;
  m_dbCount = 0;
  m_capacity = 0;
  m_cursor = 0;
}

bool wxMemDb::Reserve(long long capacity) {
  if (m_reclen <= 0 || capacity > INT_MAX) return false;
  if ((unsigned long long)capacity > (SIZE_MAX - kHeaderSize) / (size_t)m_reclen) return false;
  size_t bytes = kHeaderSize + (size_t)capacity * (size_t)m_reclen;
  char* grown = m_block ? static_cast<char*>(realloc(m_block, bytes)) : pelk::NewBlock(bytes);
  if (!grown) return false;
  m_block = grown;
  m_db = m_block + kHeaderSize;
  m_capacity = (int)capacity;
  return true;
}

int wxMemDb::Open() {
  // Only ever called closed; should it be called open, the old block must
  // not leak.
  Release();
  m_dirty = false;
  m_unreadable = false;

  struct stat st;
  const wxCharBuffer name = m_path.fn_str();
  if (m_path.empty() || stat(name, &st) != 0) {
    if (m_path.empty() || errno == ENOENT || errno == ENOTDIR) {
      m_fileVersion = m_defaultVersion;
      return 0;
    }
    // It may exist but cannot be looked at.
    m_fileVersion = 1;
    m_unreadable = true;
    return -1;
  }
  // A folder, a pipe or a device where the file should be, or a file that
  // cannot be opened, reads as an empty file. Its content was never seen,
  // so it must never be replaced by a save: years of observations may be
  // in it, waiting for the permission or the disk to be mended.
  m_fileVersion = 1;
  if (!S_ISREG(st.st_mode)) {
    m_unreadable = true;
    return -1;
  }
  int fd = open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    m_unreadable = true;
    return -1;
  }
  if (fstat(fd, &st) != 0) st.st_size = 0;

  char head[kHeaderSize];
  off_t offset = 0;
  if (ReadAt(fd, head, kHeaderSize, 0) == (size_t)kHeaderSize && memcmp(head, kHeader, kHeaderSize) == 0) {
    m_fileVersion = 2;
    offset = kHeaderSize;
  }

  // Bytes after the last whole record carry no meaning and are left out.
  long long count = 0;
  if (m_reclen > 0 && st.st_size > offset) count = (long long)(st.st_size - offset) / m_reclen;
  int rc = 0;
  if (count > 0) {
    if (!Reserve(count)) {
      // Nothing of the file was loaded: a save would replace it with
      // nothing.
      Release();
      m_unreadable = true;
      rc = -1;
    } else {
      size_t want = (size_t)count * (size_t)m_reclen;
      size_t got = ReadAt(fd, m_db, want, offset);
      // A file that shrank under us keeps only the records that arrived.
      if (got < want) memset(m_db + got, 0, want - got);
      m_dbCount = (int)(got / (size_t)m_reclen);
    }
  }
  close(fd);
  return rc;
}

int wxMemDb::Save(bool force) {
  if (m_path.empty() || (!m_dirty && !force)) return 0;
  if (m_unreadable) return -1;
  const size_t body = (size_t)m_dbCount * (size_t)(m_reclen > 0 ? m_reclen : 0);
  const char* data = kHeader;
  size_t size = 0;
  if (m_fileVersion == 2) {
    size = kHeaderSize + body;
    if (m_block) {
      memcpy(m_block, kHeader, kHeaderSize);
      data = m_block;
    }
  } else {
    size = body;
    if (m_db) data = m_db;
  }
  return pelk::AtomicWriteFile(std::string(m_path.fn_str()), data, size) ? 0 : -1;
}

int wxMemDb::Close() {
  if (Save(false) != 0) return -1;
  Release();
  m_dirty = false;
  return 0;
}

int wxMemDb::TestKey(int index, const void* key, int mode) const {
  if (!key || index < 0 || index >= m_dbCount || m_reclen <= 0) return -1;
  const unsigned char* rec = reinterpret_cast<const unsigned char*>(Record(index));
  const unsigned char* k = static_cast<const unsigned char*>(key);
  if (m_binaryKeys) {
    if (m_keylen <= 0) return -1;
    return memcmp(rec, k, (size_t)(m_keylen < m_reclen ? m_keylen : m_reclen));
  }
  // A key string without terminator ends with its record, never beyond.
  const size_t end = (size_t)m_reclen;
  if (mode == 1) {
    for (size_t i = 0; k[i] != 0; ++i) {
      int a = i < end ? LowerAscii(rec[i]) : 0;
      int b = LowerAscii(k[i]);
      if (a != b) return a - b;
    }
    return 0;
  }
  for (size_t i = 0;; ++i) {
    int a = i < end ? rec[i] : 0;
    int b = k[i];
    if (a != b) return a - b;
    if (a == 0) return 0;
  }
}

int wxMemDb::GetIndex(const void* key, int mode) const {
  if (!key) return -1;
  for (int i = 0; i < m_dbCount; ++i)
    if (TestKey(i, key, mode) == 0) return i;
  return -1;
}

void* wxMemDb::Seek(const void* key, int mode) {
  int i = GetIndex(key, mode);
  return i < 0 ? nullptr : Record(i);
}

int wxMemDb::Find(void* buffer, int mode) const {
  int i = GetIndex(buffer, mode);
  if (i < 0) return -1;
  memmove(buffer, Record(i), (size_t)m_reclen);
  return 0;
}

void* wxMemDb::Get(int index) {
  if (index < 0 || index >= m_dbCount) return nullptr;
  return Record(index);
}

int wxMemDb::Get(int index, void* buffer) const {
  if (!buffer || index < 0 || index >= m_dbCount) return 0;
  memmove(buffer, Record(index), (size_t)m_reclen);
  return 1;
}

int wxMemDb::Scan(int next, void* buffer) {
  if (next == 0) m_cursor = 0;
  if (!buffer || m_cursor >= m_dbCount) return -1;
  memmove(buffer, Record(m_cursor), (size_t)m_reclen);
  ++m_cursor;
  return 0;
}

int wxMemDb::Insert(const void* record) {
  if (!record || m_reclen <= 0) return -1;
  if (m_dbCount >= m_capacity) {
    // The record may itself lie in the block that is about to move.
    const uintptr_t at = reinterpret_cast<uintptr_t>(record);
    const uintptr_t from = reinterpret_cast<uintptr_t>(m_db);
    const bool inside = m_db && at >= from && at < from + (size_t)m_capacity * (size_t)m_reclen;
    if (!Reserve((long long)m_capacity + kGrowBy)) return -1;
    if (inside) record = m_db + (at - from);
  }
  memmove(Record(m_dbCount), record, (size_t)m_reclen);
  ++m_dbCount;
  m_dirty = true;
  return 0;
}

int wxMemDb::Change(const void* record) {
  int i = GetIndex(record, 0);
  if (i < 0) return -1;
  memmove(Record(i), record, (size_t)m_reclen);
  m_dirty = true;
  return 0;
}

int wxMemDb::Delete(const void* key) {
  int i = GetIndex(key, 0);
  if (i < 0) return -1;
  return Delete(i);
}

int wxMemDb::Delete(int index) {
  if (index == -1) index = m_cursor;
  if (index < 0 || index >= m_dbCount) return -1;
  memmove(Record(index), Record(index + 1), (size_t)(m_dbCount - index - 1) * (size_t)m_reclen);
  --m_dbCount;
  m_dirty = true;
  if (index < m_cursor) --m_cursor;
  return 0;
}
