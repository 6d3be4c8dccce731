// The record file engine under every database: a file of fixed-size binary
// records, read whole into one block of memory when opened and written back
// whole (atomically) when saved or closed.
#pragma once

#include <cstddef>
#include <wx/string.h>

namespace pelk {
// A block of `bytes` for records or anything as large, freed with free().
// A big one is laid on a 2 MB boundary and asked for huge pages.
char* NewBlock(size_t bytes);
}  // namespace pelk

class wxMemDb {
 public:
  // The 8 bytes that open a version-2 file: "/OBS:V2" and a zero byte.
  static constexpr char kHeader[8] = "/OBS:V2";
  static constexpr int kHeaderSize = 8;
  // The block grows by this many records whenever it is full.
  static constexpr int kGrowBy = 16;

  wxMemDb();
  wxMemDb(int reclen, int keylen, bool binaryKeys);
  wxMemDb(const wxMemDb&) = delete;
  wxMemDb& operator=(const wxMemDb&) = delete;
  // Closes the database, so a changed database is written when it goes.
  virtual ~wxMemDb();

  // Loads the file named by the path. 0, or -1 when the block cannot be
  // allocated (the database then holds no records) or when the file exists
  // but cannot be read: it then opens empty, and no save will replace it.
  virtual int Open();
  // Saves when dirty, then releases the block. -1 when that save failed:
  // the records then stay loaded and dirty, so the caller can tell the
  // user and retry (or AbandonChanges and close again).
  virtual int Close();

  // Sets the path; lengths of 0 leave the current ones; the key kind is
  // always set. Returns 0.
  int Setup(const wxString& path, int reclen, int keylen, bool binaryKeys);
  // Writes the file when there is a path and the database is dirty or
  // `force` is set. -1 when the file could not be written (the old file is
  // then untouched); the dirty flag never changes here.
  int Save(bool force);
  // Forget the changes: a following Close writes nothing.
  void AbandonChanges() { m_dirty = false; }

  // Compares record `index` with `key` like a string comparison (mode 1:
  // case-blind prefix; any other mode: exact). Binary keys compare the
  // first key-length bytes and ignore the mode. Every lookup goes through
  // it, so a table whose key field needs its own bound overrides it.
  virtual int TestKey(int index, const void* key, int mode) const;
  // First record whose key matches, or null. The pointer stays valid until
  // the next insertion, deletion or close.
  void* Seek(const void* key, int mode);
  // Index of the first matching record, or -1.
  int GetIndex(const void* key, int mode) const;
  // `buffer` holds a key at its start and has room for a record: on a
  // match the whole record is copied into it and 0 returned, else -1.
  int Find(void* buffer, int mode) const;
  // Record `index` in place, or null when there is none.
  void* Get(int index);
  // Copies record `index` into `buffer`: 1, or 0 when there is none.
  int Get(int index, void* buffer) const;
  // With next 0 the cursor starts again at the first record. Copies the
  // record at the cursor and advances: 0, or -1 after the last one.
  int Scan(int next, void* buffer);
  // Appends a copy (no duplicate check). -1 when the block cannot grow.
  int Insert(const void* record);
  // Overwrites the first record with the same key. -1 when none has it.
  int Change(const void* record);
  // Deletes the first record with the key. -1 when none has it.
  int Delete(const void* key);
  // Deletes record `index` (-1: the record at the cursor). A running Scan
  // goes on with the record that followed. -1 when there is no such record.
  int Delete(int index);

  // The observation database gives these their meaning.
  int NewKey() { return 0; }
  int Merge(wxMemDb*) { return 0; }

  int GetCount() const { return m_dbCount; }
  int GetCapacity() const { return m_capacity; }
  int GetFileVersion() const { return m_fileVersion; }
  int GetDefaultVersion() const { return m_defaultVersion; }
  void SetDefaultVersion(int version) { m_defaultVersion = version; }
  bool IsDirty() const { return m_dirty; }
  // The file exists but could not be read: it must not be replaced.
  bool IsUnreadable() const { return m_unreadable; }
  const wxString& GetPath() const { return m_path; }
  int GetRecLen() const { return m_reclen; }
  int GetKeyLen() const { return m_keylen; }

 protected:
  // Drops the block without writing anything.
  void Release();
  char* Record(int index) const { return m_db + (size_t)index * (size_t)m_reclen; }
  // Grows the block to `capacity` records; false when memory runs out. A
  // table that knows how many records are coming grows it once.
  bool Reserve(long long capacity);

  int m_defaultVersion = 1;  // for a file that does not exist yet
  int m_fileVersion = 1;     // of the file last opened
  int m_cursor = 0;          // next record that Scan returns
  bool m_dirty = false;
  bool m_unreadable = false;  // the file exists but could not be read: never replace it
  int m_dbCount = 0;
  int m_capacity = 0;
  char* m_db = nullptr;  // the records; null when nothing is loaded
  wxString m_path;       // empty: never written
  int m_reclen = 0;
  int m_keylen = 0;
  bool m_binaryKeys = false;

 private:
  // The allocation itself: a header slot, then the records at m_db, so
  // that a version-2 file goes to disk in one write without a copy.
  char* m_block = nullptr;
};
