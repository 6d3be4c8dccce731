// The record file engine: file versions, lookups, the scan cursor, the
// dirty rules, bad files, and saves that fail or are killed half-way.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TempHome.h"
#include "db/AtomicFile.h"
#include "db/Db.h"
#include "db/Latin1.h"

namespace {

using pelk_test::FileExists;
using pelk_test::ListDir;
using pelk_test::ReadFile;
using pelk_test::TestDir;
using pelk_test::WriteTestFile;

// Observation-sized: a 32-bit number as binary key, then text.
struct TNumRec_data {
  int32_t key;
  char text[116];
};
static_assert(sizeof(TNumRec_data) == 120, "observation-sized record");
static_assert(offsetof(TNumRec_data, text) == 4, "key first");

// Star-table-sized: a name as string key, then the rest.
struct TNameRec_data {
  char name[12];
  char rest[25];
};
static_assert(sizeof(TNameRec_data) == 37, "star-sized record");
static_assert(offsetof(TNameRec_data, rest) == 12, "name first");

const std::string kHeader("/OBS:V2\0", 8);

TNumRec_data NumRec(int32_t key, char fill) {
  TNumRec_data r;
  r.key = key;
  memset(r.text, fill, sizeof r.text);
  r.text[sizeof r.text - 1] = '\0';
  return r;
}

TNameRec_data NameRec(const char* name, char fill) {
  TNameRec_data r;
  memset(&r, 0, sizeof r);
  pelk::CopyField(r.name, sizeof r.name, name, false);
  memset(r.rest, fill, sizeof r.rest - 1);
  return r;
}

template <typename T>
std::string Bytes(const T& rec) {
  return std::string(reinterpret_cast<const char*>(&rec), sizeof rec);
}

// The bytes of `count` numbered records filled with `fill`.
std::string NumRecords(int count, char fill, int firstKey = 1) {
  std::string out;
  for (int i = 0; i < count; ++i) out += Bytes(NumRec(firstKey + i, fill));
  return out;
}

std::string PathOf(const char* name) { return TestDir() + "/" + name; }

// Keys of every record, in stored order.
std::vector<int> Keys(wxMemDb& db) {
  std::vector<int> keys;
  TNumRec_data r;
  for (int rc = db.Scan(0, &r); rc == 0; rc = db.Scan(1, &r)) keys.push_back(r.key);
  return keys;
}

// ---------------------------------------------------------------------------
// Opening

TEST(MemDbOpen, FileVersionsAndRecordCounts) {
  const std::string two = NumRecords(2, 'a');
  struct Case {
    const char* what;
    bool exists;
    std::string bytes;
    int defaultVersion;
    int version;
    int count;
    std::string savedAgain;
  } cases[] = {
      {"missing, default 1", false, "", 1, 1, 0, ""},
      {"missing, default 2", false, "", 2, 2, 0, kHeader},
      {"empty file", true, "", 2, 1, 0, ""},
      {"header alone", true, kHeader, 1, 2, 0, kHeader},
      {"header without its zero byte", true, "/OBS:V2", 2, 1, 0, ""},
      {"header with a wrong last byte", true, "/OBS:V2X" + two, 2, 1, 2, ("/OBS:V2X" + two).substr(0, 240)},
      {"version 1, 250 bytes", true, two + "0123456789", 2, 1, 2, two},
      {"version 2 with a truncated record", true, kHeader + two + std::string(119, 'z'), 1, 2, 2, kHeader + two},
      {"version 2, sixteen records", true, kHeader + NumRecords(16, 'q'), 1, 2, 16, kHeader + NumRecords(16, 'q')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = PathOf("records.obs");
    unlink(path.c_str());
    if (c.exists) WriteTestFile("records.obs", c.bytes);
    wxMemDb db(120, 4, true);
    db.Setup(path, 0, 0, true);
    db.SetDefaultVersion(c.defaultVersion);
    ASSERT_EQ(db.Open(), 0);
    EXPECT_EQ(db.GetFileVersion(), c.version);
    EXPECT_EQ(db.GetCount(), c.count);
    EXPECT_FALSE(db.IsDirty());
    const size_t start = c.version == 2 ? 8 : 0;
    for (int i = 0; i < db.GetCount(); ++i) {
      TNumRec_data r;
      ASSERT_EQ(db.Get(i, &r), 1);
      EXPECT_EQ(Bytes(r), c.bytes.substr(start + 120 * i, 120));
    }
    ASSERT_EQ(db.Save(true), 0);
    EXPECT_EQ(ReadFile(path), c.savedAgain);
    db.AbandonChanges();
  }
}

TEST(MemDbOpen, NewFileTakesTheDefaultVersion) {
  struct Case {
    int defaultVersion;
    std::string expected;
  } cases[] = {{1, Bytes(NumRec(7, 'n'))}, {2, kHeader + Bytes(NumRec(7, 'n'))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defaultVersion);
    const std::string path = PathOf("new.obs");
    unlink(path.c_str());
    wxMemDb db(120, 4, true);
    db.Setup(path, 0, 0, true);
    db.SetDefaultVersion(c.defaultVersion);
    ASSERT_EQ(db.Open(), 0);
    TNumRec_data r = NumRec(7, 'n');
    ASSERT_EQ(db.Insert(&r), 0);
    ASSERT_EQ(db.Close(), 0);
    EXPECT_EQ(ReadFile(path), c.expected);
    EXPECT_EQ(db.GetCount(), 0);
    EXPECT_EQ(db.GetCapacity(), 0);
    EXPECT_EQ(db.Get(0), nullptr);
  }
}

TEST(MemDbOpen, SwitchingToAnotherFile) {
  WriteTestFile("a.obs", kHeader + NumRecords(3, 'a'));
  WriteTestFile("b.obs", NumRecords(5, 'b', 100));
  wxMemDb db(120, 4, true);
  db.Setup(PathOf("a.obs"), 0, 0, true);
  ASSERT_EQ(db.Open(), 0);
  EXPECT_EQ(Keys(db), (std::vector<int>{1, 2, 3}));
  ASSERT_EQ(db.Close(), 0);
  db.Setup(PathOf("b.obs"), 0, 0, true);
  ASSERT_EQ(db.Open(), 0);
  EXPECT_EQ(db.GetFileVersion(), 1);
  EXPECT_EQ(Keys(db), (std::vector<int>{100, 101, 102, 103, 104}));
}

TEST(MemDbOpen, AnyBytesOpenWithoutReadingPastTheBlock) {
  // Lengths around the header and record sizes, with and without a header,
  // random bytes and bytes that never end a string. Every lookup walks all
  // the records; a reader that ran past a record's end would be caught by
  // the address sanitizer at the end of the block.
  std::mt19937 rng(42);
  const size_t lengths[] = {0, 1, 7, 8, 9, 36, 37, 38, 45, 74, 75, 111, 370, 377, 1001};
  for (size_t len : lengths) {
    for (int kind = 0; kind < 4; ++kind) {
      SCOPED_TRACE(std::to_string(len) + " bytes, kind " + std::to_string(kind));
      std::string bytes(len, 'x');
      if (kind == 1 || kind == 3)
        for (char& ch : bytes) ch = (char)(rng() % 256);
      if (kind >= 2) bytes = kHeader + bytes;
      WriteTestFile("bad.db", bytes);
      wxMemDb db(37, 12, false);
      db.Setup(PathOf("bad.db"), 0, 0, false);
      ASSERT_EQ(db.Open(), 0);
      const size_t body = bytes.size() - (db.GetFileVersion() == 2 ? 8 : 0);
      EXPECT_EQ(db.GetCount(), (int)(body / 37));
      const std::string longKey(60, 'x');
      for (int mode : {0, 1}) {
        db.GetIndex(longKey.c_str(), mode);
        db.GetIndex("xx", mode);
        db.GetIndex("", mode);
      }
      TNameRec_data r;
      int seen = 0;
      for (int rc = db.Scan(0, &r); rc == 0; rc = db.Scan(1, &r)) ++seen;
      EXPECT_EQ(seen, db.GetCount());
      db.AbandonChanges();
    }
  }
}

TEST(MemDbOpen, FolderWhereTheFileShouldBe) {
  const std::string path = PathOf("stars.db");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  wxMemDb db(37, 12, false);
  db.Setup(path, 0, 0, false);
  // Opens empty, tells the caller, and never writes over what it could
  // not read.
  ASSERT_EQ(db.Open(), -1);
  EXPECT_EQ(db.GetCount(), 0);
  TNameRec_data r = NameRec("R LEO", 'a');
  ASSERT_EQ(db.Insert(&r), 0);
  EXPECT_EQ(db.Save(false), -1);
  EXPECT_EQ(db.Close(), -1);
  EXPECT_EQ(db.GetCount(), 1);
  db.AbandonChanges();
  EXPECT_EQ(db.Close(), 0);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"stars.db"});
}

TEST(MemDbOpen, FileThatCannotBeOpenedIsNeverReplaced) {
  const std::string path = PathOf("ABC.obs");
  std::string old(240, 'o');
  WriteTestFile("ABC.obs", old);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // No descriptor left: the file exists but cannot be opened.
    struct rlimit lim;
    if (getrlimit(RLIMIT_NOFILE, &lim) != 0) _exit(10);
    const rlim_t soft = lim.rlim_cur;
    lim.rlim_cur = 3;
    if (setrlimit(RLIMIT_NOFILE, &lim) != 0) _exit(10);
    wxMemDb db(120, 4, true);
    db.Setup(path, 0, 0, true);
    if (db.Open() != -1) _exit(11);
    if (db.GetCount() != 0) _exit(12);
    lim.rlim_cur = soft;
    if (setrlimit(RLIMIT_NOFILE, &lim) != 0) _exit(13);
    char rec[120] = "x";
    db.Insert(rec);
    if (db.Close() != -1) _exit(14);
    db.AbandonChanges();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(path), old);

  // Pointed at a readable file again, the database works as ever.
  wxMemDb db(120, 4, true);
  db.Setup(path, 0, 0, true);
  EXPECT_EQ(db.Open(), 0);
  EXPECT_EQ(db.GetCount(), 2);
}

TEST(MemDbOpen, MoreRecordsThanCanBeCountedFailWithNoRecords) {
  // A sparse file of 2^31 one-byte records: more than an int can count, so
  // no block can hold them.
  const std::string path = PathOf("huge.db");
  int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, (off_t)INT_MAX + 1), 0);
  close(fd);
  wxMemDb db(1, 1, true);
  db.Setup(path, 0, 0, true);
  EXPECT_EQ(db.Open(), -1);
  EXPECT_EQ(db.GetCount(), 0);
  EXPECT_EQ(db.Get(0), nullptr);
  // Nothing was loaded, so nothing may be written over the file.
  unsigned char one = 1;
  EXPECT_EQ(db.Insert(&one), 0);
  EXPECT_EQ(db.Save(true), -1);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, (off_t)INT_MAX + 1);
  db.AbandonChanges();
  EXPECT_FALSE(db.IsDirty());
  unlink(path.c_str());
}

// ---------------------------------------------------------------------------
// Growth

TEST(MemDbGrowth, BlockGrowsBySixteenRecords) {
  WriteTestFile("sixteen.obs", kHeader + NumRecords(16, 'g'));
  wxMemDb db(120, 4, true);
  db.Setup(PathOf("sixteen.obs"), 0, 0, true);
  ASSERT_EQ(db.Open(), 0);
  EXPECT_EQ(db.GetCapacity(), 16);
  const int expected[] = {32, 32, 48};  // after the 17th, 32nd and 33rd record
  const int inserts[] = {1, 15, 1};
  int key = 17;
  for (int step = 0; step < 3; ++step) {
    for (int i = 0; i < inserts[step]; ++i) {
      TNumRec_data r = NumRec(key++, 'h');
      ASSERT_EQ(db.Insert(&r), 0);
    }
    EXPECT_EQ(db.GetCapacity(), expected[step]);
  }
  std::vector<int> keys = Keys(db);
  ASSERT_EQ(keys.size(), 33u);
  for (int i = 0; i < 33; ++i) EXPECT_EQ(keys[i], i + 1);
  db.AbandonChanges();

  wxMemDb fresh(120, 4, true);
  TNumRec_data r = NumRec(1, 'f');
  ASSERT_EQ(fresh.Insert(&r), 0);
  EXPECT_EQ(fresh.GetCapacity(), 16);
}

TEST(MemDbGrowth, InsertingACopyOfAStoredRecordWhileTheBlockMoves) {
  WriteTestFile("full.obs", kHeader + NumRecords(16, 's'));
  wxMemDb db(120, 4, true);
  db.Setup(PathOf("full.obs"), 0, 0, true);
  ASSERT_EQ(db.Open(), 0);
  const std::string first = Bytes(*static_cast<TNumRec_data*>(db.Get(0)));
  ASSERT_EQ(db.Insert(db.Get(0)), 0);
  ASSERT_EQ(db.GetCount(), 17);
  EXPECT_EQ(Bytes(*static_cast<TNumRec_data*>(db.Get(16))), first);
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Keys

TEST(MemDbKeys, StringKeysExactAndPrefix) {
  wxMemDb db(37, 12, false);
  const TNameRec_data recs[] = {NameRec("R LEO", 'a'), NameRec("SS CYG", 'b'), NameRec("R LEO", 'c'),
                                NameRec("r leonis", 'd'), NameRec("T LEO", 'e')};
  for (const TNameRec_data& r : recs) ASSERT_EQ(db.Insert(&r), 0);
  struct Case {
    const char* key;
    int mode;
    int index;
  } cases[] = {
      {"r l", 1, 0},       {"r l", 0, -1},         {"R LEO", 0, 0},      {"R LE", 0, -1},   {"R LEO ", 0, -1},
      {"r leo", 0, -1},    {"R LEON", 1, 3},       {"ss", 1, 1},         {"SS CYG", 7, 1},  {"ss cyg", 7, -1},
      {"", 1, 0},          {"t leo", 1, 4},        {"r leonis", 0, 3},   {"R LEONIS", 0, -1}, {"X", 1, -1},
      {"r leonis and more", 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " mode " + std::to_string(c.mode));
    EXPECT_EQ(db.GetIndex(c.key, c.mode), c.index);
    EXPECT_EQ(db.Seek(c.key, c.mode), c.index < 0 ? nullptr : db.Get(c.index));
    TNameRec_data buf = NameRec(c.key, 0);
    EXPECT_EQ(db.Find(&buf, c.mode), c.index < 0 ? -1 : 0);
    if (c.index >= 0) {
      EXPECT_EQ(Bytes(buf), Bytes(recs[c.index]));
    } else {
      EXPECT_EQ(Bytes(buf), Bytes(NameRec(c.key, 0)));
    }
  }
  // Ordered like a string comparison of the record with the key.
  EXPECT_GT(db.TestKey(1, "R LEO", 0), 0);
  EXPECT_LT(db.TestKey(0, "SS CYG", 0), 0);
  EXPECT_EQ(db.TestKey(2, "R LEO", 0), 0);
  EXPECT_LT(db.TestKey(0, "r leo", 0), 0);
  EXPECT_GT(db.TestKey(1, "r", 1), 0);
}

TEST(MemDbKeys, BinaryKeysCompareBytesAndIgnoreTheMode) {
  wxMemDb db(120, 4, true);
  const int32_t keys[] = {1, 256, 65536, -1, 256};
  for (int i = 0; i < 5; ++i) {
    TNumRec_data r = NumRec(keys[i], (char)('a' + i));
    ASSERT_EQ(db.Insert(&r), 0);
  }
  struct Case {
    int32_t key;
    int index;
  } cases[] = {{1, 0}, {256, 1}, {65536, 2}, {-1, 3}, {2, -1}, {0, -1}, {16777216, -1}};
  for (const Case& c : cases) {
    for (int mode : {0, 1, 2}) {
      SCOPED_TRACE(std::to_string(c.key) + " mode " + std::to_string(mode));
      EXPECT_EQ(db.GetIndex(&c.key, mode), c.index);
      // Only the key bytes count, whatever follows them in the buffer.
      TNumRec_data buf = NumRec(c.key, 'z');
      EXPECT_EQ(db.Find(&buf, mode), c.index < 0 ? -1 : 0);
      if (c.index >= 0) {
        EXPECT_EQ(buf.text[0], 'a' + c.index);
      }
    }
  }
  // Unsigned bytes in memory order: 0xFF... sorts after 0x01...
  const int32_t ff = 255;
  EXPECT_LT(db.TestKey(0, &ff, 0), 0);
  EXPECT_GT(db.TestKey(3, &ff, 0), 0);
}

TEST(MemDbKeys, UnterminatedKeyFieldEndsWithItsRecord) {
  // Records without a single zero byte, the last one ending the block.
  WriteTestFile("noterm.db", std::string(37 * 3, 'x'));
  wxMemDb db(37, 12, false);
  db.Setup(PathOf("noterm.db"), 0, 0, false);
  ASSERT_EQ(db.Open(), 0);
  ASSERT_EQ(db.GetCount(), 3);
  EXPECT_EQ(db.GetIndex(std::string(37, 'x').c_str(), 0), 0);
  EXPECT_EQ(db.GetIndex(std::string(38, 'x').c_str(), 0), -1);
  EXPECT_EQ(db.GetIndex(std::string(37, 'X').c_str(), 1), 0);
  EXPECT_EQ(db.GetIndex(std::string(40, 'X').c_str(), 1), -1);
  EXPECT_EQ(db.GetIndex(std::string(12, 'x').c_str(), 0), -1);
}

// ---------------------------------------------------------------------------
// Changing and deleting

TEST(MemDbEdit, ChangeAndDeleteByKeyTouchTheFirstMatchOnly) {
  WriteTestFile("stars.db", Bytes(NameRec("R LEO", 'a')) + Bytes(NameRec("SS CYG", 'b')) + Bytes(NameRec("R LEO", 'c')));
  wxMemDb db(37, 12, false);
  db.Setup(PathOf("stars.db"), 0, 0, false);
  ASSERT_EQ(db.Open(), 0);

  TNameRec_data changed = NameRec("R LEO", 'z');
  ASSERT_EQ(db.Change(&changed), 0);
  EXPECT_TRUE(db.IsDirty());
  EXPECT_EQ(Bytes(*static_cast<TNameRec_data*>(db.Get(0))), Bytes(changed));
  EXPECT_EQ(Bytes(*static_cast<TNameRec_data*>(db.Get(2))), Bytes(NameRec("R LEO", 'c')));

  ASSERT_EQ(db.Delete("R LEO"), 0);
  ASSERT_EQ(db.GetCount(), 2);
  EXPECT_EQ(Bytes(*static_cast<TNameRec_data*>(db.Get(0))), Bytes(NameRec("SS CYG", 'b')));
  EXPECT_EQ(Bytes(*static_cast<TNameRec_data*>(db.Get(1))), Bytes(NameRec("R LEO", 'c')));

  // Change and Delete by key match exactly, never by prefix.
  TNameRec_data missing = NameRec("r leo", 'y');
  EXPECT_EQ(db.Change(&missing), -1);
  EXPECT_EQ(db.Delete("SS"), -1);
  EXPECT_EQ(db.GetCount(), 2);
  db.AbandonChanges();
}

TEST(MemDbEdit, DeleteDuringAScanContinuesWithTheFollowingRecord) {
  // Six records keyed 0..5; a scan reads `read` of them, then one record
  // is deleted; the rest of the scan must go on where it was.
  struct Case {
    int read;
    int index;
    int rc;
    std::vector<int> rest;
  } cases[] = {
      {3, 1, 0, {3, 4, 5}},           // before the cursor
      {3, 2, 0, {3, 4, 5}},           // the record just read
      {3, 0, 0, {3, 4, 5}},
      {3, -1, 0, {4, 5}},             // the record at the cursor
      {3, 3, 0, {4, 5}},
      {3, 4, 0, {3, 5}},              // after the cursor
      {1, 5, 0, {1, 2, 3, 4}},
      {6, -1, -1, {}},                // no record at the cursor
      {6, 5, 0, {}},
      {2, 6, -1, {2, 3, 4, 5}},       // no such record
      {2, -2, -1, {2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("read " + std::to_string(c.read) + ", delete " + std::to_string(c.index));
    wxMemDb db(120, 4, true);
    for (int k = 0; k < 6; ++k) {
      TNumRec_data r = NumRec(k, 'd');
      ASSERT_EQ(db.Insert(&r), 0);
    }
    db.AbandonChanges();
    TNumRec_data r;
    for (int i = 0; i < c.read; ++i) ASSERT_EQ(db.Scan(i == 0 ? 0 : 1, &r), 0);
    EXPECT_EQ(db.Delete(c.index), c.rc);
    EXPECT_EQ(db.GetCount(), c.rc == 0 ? 5 : 6);
    EXPECT_EQ(db.IsDirty(), c.rc == 0);
    std::vector<int> rest;
    while (db.Scan(1, &r) == 0) rest.push_back(r.key);
    EXPECT_EQ(rest, c.rest);
  }
}

TEST(MemDbEdit, DeletingEveryOtherRecordInOneScan) {
  wxMemDb db(120, 4, true);
  for (int k = 0; k < 40; ++k) {
    TNumRec_data r = NumRec(k, 'e');
    ASSERT_EQ(db.Insert(&r), 0);
  }
  std::vector<int> visited;
  TNumRec_data r;
  for (int rc = db.Scan(0, &r); rc == 0; rc = db.Scan(1, &r)) {
    visited.push_back(r.key);
    if (r.key % 2 == 0) {
      ASSERT_EQ(db.Delete(&r.key), 0);
    }
  }
  EXPECT_EQ(visited.size(), 40u);
  std::vector<int> odd;
  for (int k = 1; k < 40; k += 2) odd.push_back(k);
  EXPECT_EQ(Keys(db), odd);
  db.AbandonChanges();
}

TEST(MemDbEdit, GetOutsideTheRecordsGivesNothing) {
  wxMemDb db(120, 4, true);
  EXPECT_EQ(db.Get(0), nullptr);
  TNumRec_data a = NumRec(1, 'a'), b = NumRec(2, 'b');
  ASSERT_EQ(db.Insert(&a), 0);
  ASSERT_EQ(db.Insert(&b), 0);
  TNumRec_data buf = NumRec(99, 'u');
  const std::string untouched = Bytes(buf);
  for (int index : {2, 3, -1, INT_MAX}) {
    EXPECT_EQ(db.Get(index), nullptr) << index;
    EXPECT_EQ(db.Get(index, &buf), 0) << index;
    EXPECT_EQ(Bytes(buf), untouched);
  }
  EXPECT_EQ(db.Get(1, &buf), 1);
  EXPECT_EQ(Bytes(buf), Bytes(b));
  // Records handed in are copies: changing the caller's buffer changes
  // nothing stored.
  a.text[0] = '!';
  EXPECT_EQ(static_cast<TNumRec_data*>(db.Get(0))->text[0], 'a');
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Saving

TEST(MemDbSave, DirtyRulesDecideWhatIsWritten) {
  const std::string path = WriteTestFile("obs.obs", kHeader + NumRecords(2, 'o'));
  const std::string before = ReadFile(path);
  wxMemDb db(120, 4, true);
  db.Setup(path, 0, 0, true);
  ASSERT_EQ(db.Open(), 0);
  EXPECT_FALSE(db.IsDirty());

  // Clean: only a forced save writes.
  unlink(path.c_str());
  EXPECT_EQ(db.Save(false), 0);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(db.Save(true), 0);
  EXPECT_EQ(ReadFile(path), before);

  // A save leaves the flag as it was.
  TNumRec_data r = NumRec(3, 'o');
  ASSERT_EQ(db.Insert(&r), 0);
  EXPECT_TRUE(db.IsDirty());
  EXPECT_EQ(db.Save(false), 0);
  EXPECT_TRUE(db.IsDirty());
  EXPECT_EQ(ReadFile(path), kHeader + NumRecords(3, 'o'));

  // Abandoned changes never reach the file.
  ASSERT_EQ(db.Delete(0), 0);
  db.AbandonChanges();
  EXPECT_FALSE(db.IsDirty());
  ASSERT_EQ(db.Close(), 0);
  EXPECT_EQ(ReadFile(path), kHeader + NumRecords(3, 'o'));
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"obs.obs"});

  // Without a path nothing is ever written.
  wxMemDb scratch(120, 4, true);
  ASSERT_EQ(scratch.Insert(&r), 0);
  EXPECT_EQ(scratch.Save(true), 0);
  EXPECT_EQ(scratch.Close(), 0);
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"obs.obs"});
}

TEST(MemDbSave, ADatabaseThatGoesWritesItsChanges) {
  const std::string path = PathOf("scope.scp");
  {
    wxMemDb db(48, 16, false);
    db.Setup(path, 0, 0, false);
    db.SetDefaultVersion(2);
    ASSERT_EQ(db.Open(), 0);
    char rec[48] = "Binocular";
    ASSERT_EQ(db.Insert(rec), 0);
  }
  char rec[48] = "Binocular";
  EXPECT_EQ(ReadFile(path), kHeader + std::string(rec, 48));
}

TEST(MemDbSetup, ZeroLengthsKeepTheCurrentOnes) {
  wxMemDb empty;
  EXPECT_EQ(empty.GetRecLen(), 0);
  EXPECT_EQ(empty.GetKeyLen(), 0);
  EXPECT_EQ(empty.GetDefaultVersion(), 1);
  TNumRec_data r = NumRec(1, 'a');
  EXPECT_EQ(empty.Insert(&r), -1);

  wxMemDb db(120, 4, true);
  EXPECT_EQ(db.Setup("x.obs", 0, 0, false), 0);
  EXPECT_EQ(db.GetPath(), "x.obs");
  EXPECT_EQ(db.GetRecLen(), 120);
  EXPECT_EQ(db.GetKeyLen(), 4);
  // The key kind is always set: now the records compare as strings.
  char a[120] = "abc", b[120] = "abd";
  ASSERT_EQ(db.Insert(a), 0);
  EXPECT_EQ(db.GetIndex("abc", 0), 0);
  EXPECT_EQ(db.GetIndex("ABD", 1), -1);
  ASSERT_EQ(db.Insert(b), 0);
  EXPECT_EQ(db.GetIndex("ABD", 1), 1);
  db.AbandonChanges();
  empty.Setup("", 37, 12, true);
  EXPECT_EQ(empty.GetRecLen(), 37);
  EXPECT_EQ(empty.GetKeyLen(), 12);
}

// Old file: 100 records; the save wants to write 300.
struct FailingSave {
  std::string path = PathOf("fail.obs");
  std::string before = kHeader + NumRecords(100, 'o');
  void Prepare() { WriteTestFile("fail.obs", before); }
  // Opens the old file and adds 200 records.
  void Fill(wxMemDb& db) {
    db.Setup(path, 0, 0, true);
    if (db.Open() != 0) return;
    for (int k = 0; k < 200; ++k) {
      TNumRec_data r = NumRec(1000 + k, 'n');
      db.Insert(&r);
    }
  }
};

TEST(MemDbSave, DiskFullHalfWayLeavesTheOldFileAndTheRecords) {
  FailingSave f;
  f.Prepare();
  wxMemDb db(120, 4, true);
  f.Fill(db);
  ASSERT_EQ(db.GetCount(), 300);
  pelk::AtomicWriteFailAfterForTests(15000);
  EXPECT_EQ(db.Save(false), -1);
  EXPECT_EQ(db.Save(true), -1);
  // Closing cannot lose the records either: they stay for another try.
  EXPECT_EQ(db.Close(), -1);
  pelk::AtomicWriteFailAfterForTests(-1);
  EXPECT_EQ(ReadFile(f.path), f.before);
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"fail.obs"});
  EXPECT_TRUE(db.IsDirty());
  ASSERT_EQ(db.GetCount(), 300);
  EXPECT_EQ(static_cast<TNumRec_data*>(db.Get(299))->key, 1199);

  // Once the disk has room again, the retry writes everything.
  EXPECT_EQ(db.Close(), 0);
  EXPECT_EQ(ReadFile(f.path), kHeader + NumRecords(100, 'o') + NumRecords(200, 'n', 1000));
}

TEST(MemDbSave, FileSizeLimitHalfWayLeavesTheOldFile) {
  FailingSave f;
  f.Prepare();
  fflush(nullptr);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The child hits a file-size limit of half the new file.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = {18000, 18000};
    if (setrlimit(RLIMIT_FSIZE, &lim) != 0) _exit(3);
    wxMemDb db(120, 4, true);
    f.Fill(db);
    int ok = db.Save(false) == -1 && db.Close() == -1 && db.IsDirty() && db.GetCount() == 300;
    db.AbandonChanges();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(f.path), f.before);
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"fail.obs"});
}

TEST(MemDbSave, KilledWhileSavingLeavesOneWholeVersion) {
  // Two versions of different lengths, saved over each other in a loop by
  // a child that is killed at random moments.
  const std::string versionA = kHeader + NumRecords(20000, 'A');
  const std::string versionB = kHeader + NumRecords(30000, 'B', 50000);
  const std::string path = WriteTestFile("killed.obs", versionA);
  std::mt19937 rng(7);
  int sawA = 0, sawB = 0;
  for (int round = 0; round < 12; ++round) {
    fflush(nullptr);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // One holds the file's version A as read; the other starts from no
      // records in a version-2 file and gets version B.
      wxMemDb a(120, 4, true), b(120, 4, true);
      a.Setup(path, 0, 0, true);
      b.Setup(path, 0, 0, true);
      if (a.Open() != 0 || b.Open() != 0 || b.Close() != 0) _exit(1);
      for (int k = 0; k < 30000; ++k) {
        TNumRec_data r = NumRec(50000 + k, 'B');
        b.Insert(&r);
      }
      for (int i = 0; i < 100000; ++i) {
        a.Save(true);
        b.Save(true);
      }
      _exit(0);
    }
    usleep(20000 + rng() % 60000);
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string now = ReadFile(path);
    ASSERT_TRUE(now == versionA || now == versionB) << "round " << round << ": " << now.size() << " bytes";
    (now == versionA ? sawA : sawB)++;
  }
  RecordProperty("saw_a", sawA);
  RecordProperty("saw_b", sawB);
}

}  // namespace
