// The observation database: file names, numbering, star-name completion,
// archives, merging, and the magnitude in tenths.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "DbFixtures.h"
#include "db/DbObs.h"

using namespace pelk_test;

namespace {

std::vector<int> Numbers(wxDbObs& db) {
  std::vector<int> out;
  TObs_data o;
  for (int i = 0; db.Get(i, &o) == 1; ++i) out.push_back(o.number);
  return out;
}

std::vector<std::string> Variables(wxDbObs& db) {
  std::vector<std::string> out;
  TObs_data o;
  for (int i = 0; db.Get(i, &o) == 1; ++i) out.push_back(Field(o.variable, sizeof o.variable));
  return out;
}

const std::string kHeader("/OBS:V2\0", 8);

}  // namespace

TEST(ObsFile, NamesAndVersions) {
  DbTestSetup setup;
  struct Case {
    bool archive;
    int year;
    const char* file;
    int archiveYear;
  } cases[] = {
      {false, 0, "ABC.obs", 0},       {false, 2003, "ABC.obs", 0},   {true, 0, "ABC.arch", 0},
      {true, 2003, "ABC2003.arch", 2003}, {true, 987, "ABC0987.arch", 987},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    wxDbObs db;
    ASSERT_EQ(db.Open(c.archive, c.year), 0);
    EXPECT_EQ(std::string(db.GetPath().fn_str()), TestDir() + "/" + c.file);
    EXPECT_EQ(db.IsArchive(), c.archive);
    EXPECT_EQ(db.GetArchiveYear(), c.archiveYear);
    TObs_data o = Obs("R LEO", 2451545.0);
    ASSERT_EQ(db.Insert(&o), 1);
    ASSERT_EQ(db.Close(), 0);
    // A new file is written with the version-2 header.
    EXPECT_EQ(ReadFile(TestDir() + "/" + c.file), kHeader + std::string(reinterpret_cast<char*>(&o), sizeof o));
    unlink((TestDir() + "/" + c.file).c_str());
  }
}

TEST(ObsFile, Numbering) {
  DbTestSetup setup;
  wxDbObs db;
  ASSERT_EQ(db.Open(false, 0), 0);
  EXPECT_EQ(db.NewKey(), 1);
  TObs_data o = Obs("R LEO", 2451545.0);
  for (int expected : {1, 2, 3}) EXPECT_EQ(db.Insert(&o), expected);
  EXPECT_EQ(o.number, 3);  // the number is written into the record given
  ASSERT_EQ(db.Delete(1), 0);  // number 2
  EXPECT_EQ(db.Insert(&o), 4);
  ASSERT_EQ(db.Delete(2), 0);  // number 4, the largest: it comes back
  EXPECT_EQ(db.Insert(&o), 4);
  EXPECT_EQ(Numbers(db), (std::vector<int>{1, 3, 4}));
  db.AbandonChanges();

  // Numbers read from a file: negative ones do not count; when the largest
  // possible number is taken, the smallest free one is given.
  struct Case {
    std::vector<int> stored;
    int next;
  } cases[] = {
      {{-5, -1}, 1}, {{7, 3}, 8}, {{INT_MAX, 1, 2, 4}, 3}, {{INT_MAX, 2}, 1}, {{INT_MAX, -3}, 1},
  };
  for (const Case& c : cases) {
    wxDbObs file;
    for (int n : c.stored) {
      TObs_data r = Obs("X", 2451545.0);
      r.number = n;
      ASSERT_EQ(file.wxMemDb::Insert(&r), 0);
    }
    EXPECT_EQ(file.NewKey(), c.next) << "first stored " << c.stored[0];
    TObs_data r = Obs("Y", 2451545.0);
    EXPECT_EQ(file.Insert(&r), c.next);
    file.AbandonChanges();
  }
}

TEST(ObsFile, FindStarCompletesFromTheObserversOwnEstimates) {
  DbTestSetup setup;
  wxDbObs db;
  InsertNamed(db, {"SS CYG", "R LEO", "RR LYR", "R LEO MIN"});
  // A name that fills the field without a terminator comes back cut to 11
  // characters and terminated.
  TObs_data full = Obs("", 2451545.0);
  memcpy(full.variable, "V1234567SGR", 11);
  full.variable[11] = 'X';
  full.jd = 2451545.0;
  ASSERT_GT(db.Insert(&full), 0);
  struct Case {
    const char* typed;
    int result;
    const char* completed;
  } cases[] = {
      {"r", 0, "R LEO"},           {"rr", 0, "RR LYR"}, {"ss c", 0, "SS CYG"},       {"R LEO ", 0, "R LEO MIN"},
      {"x", -1, "x"},              {"", 0, "SS CYG"},   {"v1234567sgrx", 0, "V1234567SGR"},
      {"R LEO MINOR", -1, "R LEO MINOR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    char name[12] = {};
    memcpy(name, c.typed, std::min(strlen(c.typed), sizeof name));
    EXPECT_EQ(db.FindStar(name), c.result);
    EXPECT_EQ(Field(name, sizeof name), c.completed);
  }
  db.AbandonChanges();
}

TEST(ObsFile, HasArchive) {
  DbTestSetup setup;
  struct Case {
    const char* yearly;
    std::vector<std::string> files;
    bool has;
  } cases[] = {
      {"No", {}, false},
      {"No", {"ABC.arch"}, true},
      {"No", {"ABC2003.arch"}, false},
      {"No", {"XYZ.arch"}, false},
      {"Yes", {"ABC2003.arch"}, true},
      {"Yes", {"ABC.arch"}, false},
      {"Yes", {"ABCxy12.arch"}, true},  // any four characters
      {"Yes", {"ABC12345.arch", "ABC123.arch", "XYZ2003.arch"}, false},
      {"yes", {"ABC2003.arch"}, false},  // only "Yes" switches yearly archives on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.yearly) + " " + (c.files.empty() ? "" : c.files[0]));
    for (const std::string& f : ListDir(TestDir()))
      if (f.find(".arch") != std::string::npos) unlink((TestDir() + "/" + f).c_str());
    for (const std::string& f : c.files) WriteTestFile(f, "");
    config->Write("Features/YearlyArchive", c.yearly);
    EXPECT_EQ(wxDbObs::HasArchive(), c.has);
  }
  // A folder named like an archive is no archive.
  config->Write("Features/YearlyArchive", "No");
  for (const std::string& f : ListDir(TestDir()))
    if (f.find(".arch") != std::string::npos) unlink((TestDir() + "/" + f).c_str());
  mkdir((TestDir() + "/ABC2003.arch").c_str(), 0755);
  config->Write("Features/YearlyArchive", "Yes");
  EXPECT_FALSE(wxDbObs::HasArchive());
  config->Write("Directories/DataPath", wxString(TestDir()) + "/missing/");
  EXPECT_FALSE(wxDbObs::HasArchive());
}

TEST(ObsFile, MergeTakesTheRangeAndNumbersAnew) {
  DbTestSetup setup;
  wxDbObs source;
  InsertDays(source, {100, 200, 300, 400});
  struct Case {
    double from, to;
    std::vector<std::string> merged;
  } cases[] = {
      {0, 0, {"S100", "S200", "S300", "S400"}},
      {200, 400, {"S200", "S300"}},
      {0, 300, {"S100", "S200"}},
      {300, 0, {"S300", "S400"}},
      {500, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " " + std::to_string(c.to));
    wxDbObs target;
    TObs_data first = Obs("T", 50);
    first.number = 41;
    ASSERT_EQ(target.wxMemDb::Insert(&first), 0);
    EXPECT_EQ(target.Merge(source, c.from, c.to), 0);
    std::vector<std::string> want = {"T"};
    want.insert(want.end(), c.merged.begin(), c.merged.end());
    EXPECT_EQ(Variables(target), want);
    std::vector<int> numbers;
    for (int i = 0; i < (int)want.size(); ++i) numbers.push_back(41 + i);
    EXPECT_EQ(Numbers(target), numbers);
    target.AbandonChanges();
  }
  // Into itself: each estimate once more.
  EXPECT_EQ(source.Merge(source, 0, 0), 0);
  EXPECT_EQ(Numbers(source), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  source.AbandonChanges();
}

TEST(ObsFile, MagnitudeInTenths) {
  struct Case {
    std::string text;
    int tenths;
  } cases[] = {
      {"  9.8 ", 98},
      {"<12.5:", 125},
      {" 12.50", 125},
      {"  0.5 ", 5},
      {" 29.9 ", 299},
      {"", 0},
      {"<", 0},
      {"abcdefg", 0},
      {" 9", 9},  // what lies after the terminator does not count
      {std::string(" 9\0" "55555", 8), 9},
      {"12345678", 235},  // no terminator: read within the field
  };
  for (const Case& c : cases) {
    char field[8];
    memset(field, '7', sizeof field);
    memcpy(field, c.text.data(), std::min(c.text.size() + 1, sizeof field));
    EXPECT_EQ(pelk::MagnitudeTenths(field, sizeof field), c.tenths) << "'" << c.text << "'";
  }
}
