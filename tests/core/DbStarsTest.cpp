// The variable star table: reading validation files, merging, lookups by
// name through the name index, and the loaders of the published files.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "DbFixtures.h"
#include "db/AtomicFile.h"
#include "db/DbStars.h"

using namespace pelk_test;

namespace {

using Rows = std::vector<std::string>;

// Reads `text` as a validation file of class F into a fresh table.
Rows ReadText(const std::string& text, char kind = 'F') {
  wxDbStars db;
  const std::string path = WriteTestFile("val.txt", text);
  EXPECT_EQ(db.OpenText(path, kind), 0);
  Rows rows = Stars(db);
  db.AbandonChanges();
  return rows;
}

std::string StarsDb() { return TestDir() + "/stars.db"; }

}  // namespace

// ---------------------------------------------------------------------------
// Validation text files

TEST(StarsText, ColumnsAndLines) {
  DbTestSetup setup;
  const std::string full = StarLine("0942+11", "R LEO", "M");  // 32 characters
  ASSERT_EQ(full.size(), 32u);
  const std::string cut = full.substr(0, 31);
  struct Case {
    const char* what;
    std::string text;
    Rows expected;
  } cases[] = {
      {"a 32-character line takes its type", full + "\n", {"R LEO|0942+11|M|F"}},
      {"a 31-character line has no type", cut + "\n", {"R LEO|0942+11||F"}},
      {"the type is cut at column 32", StarLine("1", "A") + "  UGSS+ZZ:ABCDEF\n", {"A|1|UGSS+ZZ:AB|F"}},
      {"the last line without a line end", StarLine("1", "A", "M") + "\n" + StarLine("2", "B", "SR"),
       {"A|1|M|F", "B|2|SR|F"}},
      {"CR LF line ends", StarLine("1", "A", "M") + "\r\n" + StarLine("2", "B", "L") + "\r\n",
       {"A|1|M|F", "B|2|L|F"}},
      {"CR line ends", StarLine("1", "A", "M") + "\r" + StarLine("2", "B", "L") + "\r", {"A|1|M|F", "B|2|L|F"}},
      {"mixed line ends; CR CR and LF CR LF hold empty lines",
       "1         A\r\r2         B\n\r\n3         C",
       {"A|1||F", "|||F", "B|2||F", "|||F", "C|3||F"}},
      {"leading blanks stay, trailing blanks go, no change of case", Pad("  12+34", 10) + " r leo    \n",
       {" r leo|  12+34||F"}},
      {"an apostrophe becomes a grave accent", StarLine("1", "V' CYG") + "\n", {"V` CYG|1||F"}},
      {"a short line gives empty fields; an empty line after it repeats its empty name",
       "123\n\n" + StarLine("2", "B") + "\n\n", {"|123||F", "B|2||F", "|||F"}},
      {"only a directly repeated name is dropped",
       StarLine("1", "R LEO", "M") + "\n" + StarLine("2", "R LEO", "SR") + "\n" + StarLine("3", "X") + "\n" +
           StarLine("4", "R LEO") + "\n",
       {"R LEO|1|M|F", "X|3||F", "R LEO|4||F"}},
      {"between the two markers only",
       "*header\n" + StarLine("1", "A") + "\n" + StarLine("2", "B") + "\n*end\n" + StarLine("3", "C") + "\n",
       {"A|1||F", "B|2||F"}},
      {"one marker: to the end", StarLine("1", "A") + "\n*\n" + StarLine("2", "B") + "\n", {"A|1||F", "B|2||F"}},
      {"a marker is a line that begins with *", " *x\n", {"| *x||F"}},
      {"an empty file", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadText(c.text), c.expected);
  }
  EXPECT_EQ(ReadText(StarLine("1", "A") + "\n", 'E'), Rows{"A|1||E"});
}

TEST(StarsText, TheTableBecomesTheStarFile) {
  DbTestSetup setup;
  const std::string path = WriteTestFile("val.txt", StarLine("0942+11", "R LEO", "M") + "\n");
  wxDbStars db;
  TStar_data old = Star("OLD", "1", "M", 'U');
  ASSERT_EQ(db.Insert(&old), 0);
  db.AbandonChanges();
  ASSERT_EQ(db.OpenText(path, 'F'), 0);
  EXPECT_TRUE(db.IsDirty());
  EXPECT_EQ(std::string(db.GetPath().fn_str()), StarsDb());
  EXPECT_EQ(Stars(db), Rows{"R LEO|0942+11|M|F"});
  ASSERT_EQ(db.Close(), 0);
  // Version 1: the bare record.
  TStar_data expected = Star("R LEO", "0942+11", "M", 'F');
  EXPECT_EQ(ReadFile(StarsDb()), std::string(reinterpret_cast<char*>(&expected), sizeof expected));

  // Opened through the program folder, whatever name is given.
  wxDbStars again;
  ASSERT_EQ(again.Open(wxString("ignored")), 0);
  EXPECT_EQ(Stars(again), Rows{"R LEO|0942+11|M|F"});
}

TEST(StarsText, AFileThatCannotBeReadLeavesTheTable) {
  DbTestSetup setup;
  mkdir((TestDir() + "/folder.txt").c_str(), 0755);
  for (const std::string& path : {std::string(), TestDir() + "/missing.txt", TestDir() + "/folder.txt"}) {
    SCOPED_TRACE(path);
    wxDbStars db;
    TStar_data s = Star("R LEO", "0942+11", "M", 'F');
    ASSERT_EQ(db.Insert(&s), 0);
    db.AbandonChanges();
    EXPECT_EQ(db.OpenText(path, 'F'), -1);
    EXPECT_EQ(Stars(db), Rows{"R LEO|0942+11|M|F"});
    EXPECT_FALSE(db.IsDirty());
    EXPECT_TRUE(db.GetPath().empty());
  }
}

TEST(StarsText, BadBytesAreCutToTheirFields) {
  DbTestSetup setup;
  // Designation "12", NUL, junk; name "R LEO", NUL, junk; two blanks; type
  // "EA", NUL, junk: 32 bytes.
  const std::string nulLine = std::string("12") + '\0' + "4567890" + "R LEO" + '\0' + "XYZ " + "  " + "EA" + '\0' +
                              "1234567";
  ASSERT_EQ(nulLine.size(), 32u);
  struct Case {
    const char* what;
    std::string text;
    Rows expected;
  } cases[] = {
      {"a NUL byte ends the field it is in", nulLine + "\n", {"R LEO|12|EA|F"}},
      {"a name running past its columns is cut at column 20", "0000+00   ABCDEFGHIJKLMNOPQRSTUVWXYZ\n",
       {"ABCDEFGHIJ|0000+00|MNOPQRSTUV|F"}},
      {"an overlong line", StarLine("1", "LONG", "M") + std::string(3 << 20, 'x') + "\n" + StarLine("2", "B"),
       {"LONG|1|M|F", "B|2||F"}},
      {"a megabyte without any line end", std::string(1 << 20, 'y'), {"yyyyyyyyyy|yyyyyyyyyy|yyyyyyyyyy|F"}},
      {"a CR LF split over a read block", std::string((1 << 20) - 1, 'z') + "\r\n" + StarLine("2", "B"),
       {"zzzzzzzzzz|zzzzzzzzzz|zzzzzzzzzz|F", "B|2||F"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadText(c.text), c.expected);
  }

  // Random bytes: every field stays within its width and terminated.
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(1000 + rng() % 5000, '\0');
    for (char& ch : bytes) ch = (char)(rng() % 256);
    wxDbStars db;
    ASSERT_EQ(db.OpenText(WriteTestFile("noise.txt", bytes), 'E'), 0);
    TStar_data s;
    for (int i = 0; db.Get(i, &s) == 1; ++i) {
      EXPECT_LT(strnlen(s.name, sizeof s.name), sizeof s.name);
      EXPECT_LE(strnlen(s.harvard, sizeof s.harvard), 10u);
      EXPECT_LE(strnlen(s.type, sizeof s.type), 10u);
      EXPECT_EQ(s.cls, 'E');
      EXPECT_EQ(db.GetIndex(s.name, 0), db.GetIndex(s.name, 0));
    }
    db.AbandonChanges();
  }
}

// ---------------------------------------------------------------------------
// Lookups

TEST(StarsLookup, ExactAndPrefix) {
  DbTestSetup setup;
  wxDbStars db;
  for (const TStar_data& s : {Star("R LEO", "0942+11", "M", 'F'), Star("RR LYR", "1923+42", "RRAB", 'F'),
                              Star("R LEO", "9999+99", "SR", 'U'), Star("SS CYG", "2138+43", "UGSS", 'F')}) {
    ASSERT_EQ(db.Insert(&s), 0);
  }
  struct Case {
    const char* key;
    int mode;
    int index;
  } cases[] = {
      {"R LEO", 0, 0}, {"r leo", 0, -1}, {"r l", 1, 0},  {"r l", 0, -1}, {"R LE", 0, -1},
      {"rr", 1, 1},    {"ss cyg", 1, 3}, {"", 1, 0},     {"", 0, -1},    {"R LEO ", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " mode " + std::to_string(c.mode));
    EXPECT_EQ(db.GetIndex(c.key, c.mode), c.index);
    TStar_data buf;
    memset(&buf, 0, sizeof buf);
    strcpy(buf.name, c.key);
    EXPECT_EQ(db.Find(&buf, c.mode), c.index < 0 ? -1 : 0);
    if (c.index >= 0) {
      EXPECT_EQ(memcmp(&buf, db.Get(c.index), sizeof buf), 0);
    }
    EXPECT_EQ(db.Seek(c.key, c.mode), c.index < 0 ? nullptr : db.Get(c.index));
  }

  // Change and Delete by name take the first of two equal names.
  TStar_data changed = Star("R LEO", "0942+11", "M:", 'E');
  ASSERT_EQ(db.Change(&changed), 0);
  TStar_data missing = Star("T CRB", "", "", 'U');
  EXPECT_EQ(db.Change(&missing), -1);
  EXPECT_EQ(db.Delete("T CRB"), -1);
  ASSERT_EQ(db.Delete("R LEO"), 0);
  EXPECT_EQ(Stars(db), (Rows{"RR LYR|1923+42|RRAB|F", "R LEO|9999+99|SR|U", "SS CYG|2138+43|UGSS|F"}));
  EXPECT_EQ(db.GetIndex("R LEO", 0), 1);
  db.AbandonChanges();
}

TEST(StarsLookup, ANameThatFillsItsFieldIsReadAsTwelveCharacters) {
  DbTestSetup setup;
  // The name runs into the designation with no terminator, and the key
  // buffer, too, goes on past its name field.
  TStar_data full;
  memcpy(full.name, "ABCDEFGHIJKL", 12);
  memcpy(full.harvard, "MNOPQRSTUVW", 12);
  memcpy(full.type, "XYZ", 4);
  full.cls = 'U';
  wxDbStars db;
  ASSERT_EQ(db.Insert(&full), 0);
  TStar_data key = full;
  memcpy(key.harvard, "different!!", 12);
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(db.GetIndex(&key, mode), 0);
    EXPECT_EQ(db.GetIndex("ABCDEFGHIJKL", mode), 0);
    EXPECT_EQ(db.GetIndex("ABCDEFGHIJK", mode), mode == 1 ? 0 : -1);
  }
  EXPECT_EQ(db.GetIndex("ABCDEFGHIJKLMNO", 0), 0);  // a key, too, is 12 characters at most
  EXPECT_EQ(db.Change(&key), 0);
  EXPECT_EQ(Field(static_cast<TStar_data*>(db.Get(0))->harvard, 12), "different!!");
  db.AbandonChanges();
}

TEST(StarsLookup, TheNameIndexAgreesWithAWalkThroughTheTable) {
  // Random inserts (many repeated names), changes, deletes by position,
  // by name and at the scan cursor, merges and reloads; after each step
  // every name is looked up both ways.
  DbTestSetup setup;
  std::mt19937 rng(1234);
  const int kNames = 40;
  auto name = [](int n) { return "V" + std::to_string(n) + " CYG"; };
  auto walk = [](wxDbStars& db, const std::string& key) {
    TStar_data s;
    for (int i = 0; db.Get(i, &s) == 1; ++i)
      if (strncmp(s.name, key.c_str(), sizeof s.name) == 0) return i;
    return -1;
  };
  wxDbStars db;
  db.Setup(StarsDb(), 0, 0, false);
  wxDbStars other;
  for (int step = 0; step < 2000; ++step) {
    const int op = (int)(rng() % 100);
    const std::string n = name((int)(rng() % kNames));
    if (op < 45) {
      TStar_data s = Star(n.c_str(), std::to_string(step).c_str(), "M", "FEU"[rng() % 3]);
      ASSERT_EQ(db.Insert(&s), 0);
    } else if (op < 60 && db.GetCount() > 0) {
      ASSERT_EQ(db.Delete((int)(rng() % db.GetCount())), 0);
    } else if (op < 70) {
      EXPECT_EQ(db.Delete(n.c_str()), walk(db, n) < 0 ? -1 : 0);
    } else if (op < 75) {
      TStar_data s;
      db.Scan(0, &s);
      db.Scan(1, &s);
      db.Delete(-1);
    } else if (op < 80) {
      TStar_data s = Star(n.c_str(), "changed", "SR", 'E');
      EXPECT_EQ(db.Change(&s), walk(db, n) < 0 ? -1 : 0);
    } else if (op < 85) {
      other.AbandonChanges();
      other.Close();
      TStar_data s = Star(n.c_str(), "merged", "EA", 'E');
      ASSERT_EQ(other.Insert(&s), 0);
      s = Star(name((int)(rng() % kNames)).c_str(), "merged", "EA", 'E');
      ASSERT_EQ(other.Insert(&s), 0);
      ASSERT_EQ(db.Merge(other, "E", (int)(rng() % 2)), 2);
    } else if (op < 88) {
      ASSERT_EQ(db.Close(), 0);
      ASSERT_EQ(db.Open(), 0);
    }
    for (int k = 0; k < kNames; ++k) {
      const std::string key = name(k);
      ASSERT_EQ(db.GetIndex(key.c_str(), 0), walk(db, key)) << "step " << step << " " << key;
    }
  }
  other.AbandonChanges();
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Merging

TEST(StarsMerge, ClassesAndReplacement) {
  DbTestSetup setup;
  struct Case {
    const char* what;
    const char* classes;
    int replace;
    int result;
    Rows expected;
  } cases[] = {
      // The source's second X repeats its first: with replacement it
      // overwrites what the first brought.
      {"E stars replace an F star of the same name", "E", 1, 3,
       {"R LEO|0942+11|M|F", "SS CYG|2138+43|EA|E", "X|1b|EW|E"}},
      {"without replacement the existing star stays", "E", 0, 3,
       {"R LEO|0942+11|M|F", "SS CYG|2138+43|UGSS|F", "X|1|EB|E"}},
      {"classes not asked for are left out", "U", 1, 1,
       {"R LEO|0942+11|M|F", "SS CYG|2138+43|UGSS|F", "Y|2|?|U"}},
      {"several classes", "UE", 0, 4,
       {"R LEO|0942+11|M|F", "SS CYG|2138+43|UGSS|F", "X|1|EB|E", "Y|2|?|U"}},
      {"no class", "", 1, 0, {"R LEO|0942+11|M|F", "SS CYG|2138+43|UGSS|F"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxDbStars mine, source;
    for (const TStar_data& s : {Star("R LEO", "0942+11", "M", 'F'), Star("SS CYG", "2138+43", "UGSS", 'F')})
      ASSERT_EQ(mine.Insert(&s), 0);
    for (const TStar_data& s : {Star("SS CYG", "2138+43", "EA", 'E'), Star("X", "1", "EB", 'E'),
                                Star("X", "1b", "EW", 'E'), Star("Y", "2", "?", 'U')})
      ASSERT_EQ(source.Insert(&s), 0);
    // A star with no class letter is never taken.
    TStar_data none = Star("Z", "3", "", '\0');
    ASSERT_EQ(source.Insert(&none), 0);
    mine.AbandonChanges();
    EXPECT_EQ(mine.Merge(source, c.classes, c.replace), c.result);
    EXPECT_EQ(Stars(mine), c.expected);
    EXPECT_EQ(mine.IsDirty(), c.result > 0);
    mine.AbandonChanges();
    source.AbandonChanges();
  }
}

TEST(StarsMerge, AllPresentWithoutReplacementStillCountsAndMarksDirty) {
  DbTestSetup setup;
  wxDbStars mine;
  TStar_data s = Star("R LEO", "0942+11", "M", 'F');
  ASSERT_EQ(mine.Insert(&s), 0);
  mine.AbandonChanges();
  EXPECT_EQ(mine.Merge(mine, "F", 0), 1);
  EXPECT_EQ(Stars(mine), Rows{"R LEO|0942+11|M|F"});
  EXPECT_TRUE(mine.IsDirty());
  mine.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Loaders

namespace {

// g_stars from "stars.db" holding the given stars.
void SetUpTable(std::initializer_list<TStar_data> stars) {
  unlink(StarsDb().c_str());
  wxDbStars db;
  db.Open(wxString());
  for (const TStar_data& s : stars) db.Insert(&s);
  ASSERT_EQ(db.Close(), 0);
  ASSERT_EQ(g_stars.Open(wxString()), 0);
}

Rows FileStars() {
  wxDbStars db;
  db.Setup(StarsDb(), 0, 0, false);
  db.Open();
  return Stars(db);
}

}  // namespace

TEST(StarsLoad, AavsoFileDecidesItsStarsAndKeepsTheOthers) {
  DbTestSetup setup;
  SetUpTable({Star("R LEO", "old", "SR", 'F'), Star("V1 CYG", "1", "EA", 'E'), Star("MY STAR", "2", "?", 'U'),
              Star("GONE", "3", "M", 'F')});
  const std::string file = "*\n" + StarLine("0942+11", "R LEO", "M") + "\n" + StarLine("1", "NEW1") + "\n" +
                           StarLine("2", "NEW2") + "\n" + StarLine("3", "NEW3") + "\n" + StarLine("4", "NEW4") +
                           "\n" + StarLine("5", "NEW5") + "\n*\n";
  int count = -99;
  ASSERT_EQ(LoadAavsoValidation(WriteTestFile("vallong.txt", file), &count), VALIDATION_LOADED);
  EXPECT_EQ(count, 6 - 4);
  const Rows expected = {"R LEO|0942+11|M|F", "NEW1|1||F",      "NEW2|2||F",      "NEW3|3||F",
                         "NEW4|4||F",         "NEW5|5||F",      "V1 CYG|1|EA|E", "MY STAR|2|?|U",
                         "GONE|3|M|F"};
  EXPECT_EQ(Stars(g_stars), expected);
  EXPECT_FALSE(g_stars.IsDirty());
  EXPECT_EQ(FileStars(), expected);

  // Fewer new stars than old ones: never below 0.
  ASSERT_EQ(LoadAavsoValidation(WriteTestFile("small.txt", StarLine("1", "ONE") + "\n"), &count),
            VALIDATION_LOADED);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(g_stars.GetCount(), 10);
}

TEST(StarsLoad, FailuresLeaveTheTable) {
  DbTestSetup setup;
  SetUpTable({Star("R LEO", "0942+11", "M", 'F')});
  const std::string before = ReadFile(StarsDb());
  int count = -99;
  EXPECT_EQ(LoadAavsoValidation(TestDir() + "/missing.txt", &count), VALIDATION_CANNOT_OPEN);
  EXPECT_EQ(LoadEclipsingValidation(TestDir() + "/missing.txt", &count), VALIDATION_CANNOT_OPEN);
  EXPECT_EQ(count, 0);

  // The new table cannot be written: the old one is open again.
  const std::string path = WriteTestFile("vallong.txt", StarLine("1", "NEW") + "\n");
  pelk::AtomicWriteFailAfterForTests(0);
  EXPECT_EQ(LoadAavsoValidation(path, &count), VALIDATION_NOT_SAVED);
  EXPECT_EQ(LoadEclipsingValidation(path, &count), VALIDATION_NOT_SAVED);
  pelk::AtomicWriteFailAfterForTests(-1);
  EXPECT_EQ(ReadFile(StarsDb()), before);
  EXPECT_EQ(Stars(g_stars), (Rows{"R LEO|0942+11|M|F", "NEW|1||E"}));  // merged, waiting for a save
  EXPECT_TRUE(g_stars.IsDirty());
}

TEST(StarsLoad, AnUnreadableTableIsNotReplaced) {
  DbTestSetup setup;
  mkdir(StarsDb().c_str(), 0755);  // something that cannot be read as the table
  EXPECT_EQ(g_stars.Open(wxString()), -1);
  int count = -99;
  EXPECT_EQ(LoadAavsoValidation(WriteTestFile("vallong.txt", StarLine("1", "NEW") + "\n"), &count),
            VALIDATION_NOT_SAVED);
  struct stat st;
  ASSERT_EQ(stat(StarsDb().c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(StarsLoad, EclipsingListAndCorrectionFileReplaceTheirStars) {
  DbTestSetup setup;
  struct Case {
    const char* what;
    int (*load)(const wxString&, int*);
    Rows expected;
  } cases[] = {
      {"eclipsing list", LoadEclipsingValidation, {"R LEO|0942+11|M|F", "V1 CYG|new|EA|E", "X|9|EW|E"}},
      {"correction file", LoadValidationCorrection, {"R LEO|0942+11|M|F", "V1 CYG|new|EA|F", "X|9|EW|F"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DbTestSetup::ResetDatabases();
    SetUpTable({Star("R LEO", "0942+11", "M", 'F'), Star("V1 CYG", "old", "E", 'U')});
    int count = -99;
    const std::string file = StarLine("new", "V1 CYG", "EA") + "\n" + StarLine("9", "X", "EW") + "\n";
    ASSERT_EQ(c.load(WriteTestFile("list.txt", file), &count), VALIDATION_LOADED);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Stars(g_stars), c.expected);
    EXPECT_EQ(FileStars(), c.expected);
  }
}

TEST(StarsVocabulary, ConstellationsAndTypes) {
  EXPECT_EQ(strlen(ConstellNames), 264u);
  EXPECT_EQ(std::string(ConstellNames).substr(0, 6), "ANDANT");
  EXPECT_EQ(std::string(ConstellNames).substr(261), "VUL");
  EXPECT_NE(std::string(ConstellNames).find("LEO"), std::string::npos);
  EXPECT_STREQ(varType[0], "*");
  EXPECT_STREQ(varType[48], "M");
  EXPECT_STREQ(varType[VARTYPE_COUNT - 1], "ZZ");
}
