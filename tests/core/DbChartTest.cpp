// The chart database: the 10-character star field without terminator, the
// chart list built and split at "|", lists that would not fit, and chart
// files whose fields are garbage.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TempHome.h"
#include "config/MyConfig.h"
#include "db/DbChart.h"

namespace {

using pelk_test::ReadFile;
using pelk_test::TestDir;
using pelk_test::WriteTestFile;

// The program folder, where the chart table lives, is the test's own folder.
class ChartTest : public testing::Test {
 protected:
  static std::string ChartPath() { return TestDir() + "/chart.db"; }
  pelk_test::ScopedConfig store;
};

wxArrayString List(std::initializer_list<const char*> names) {
  wxArrayString out;
  for (const char* n : names) out.Add(wxString::FromUTF8(n));
  return out;
}

std::vector<std::string> Utf8(const wxArrayString& names) {
  std::vector<std::string> out;
  for (const wxString& n : names) out.push_back(std::string(n.utf8_str()));
  return out;
}

TChart_data Record(const char* star, std::initializer_list<const char*> charts) {
  TChart_data r;
  memset(&r, 0, sizeof r);
  EXPECT_EQ(wxDbChart::MakeRecord(&r, star, List(charts)), wxDbChart::CHART_OK) << star;
  return r;
}

std::string Bytes(const TChart_data& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof r); }

// ---------------------------------------------------------------------------
// The star field

TEST_F(ChartTest, FullWidthStarIsStoredWithoutTerminatorAndFoundAgain) {
  {
    wxDbChart db;
    ASSERT_EQ(db.Open(), 0);
    EXPECT_EQ(db.GetPath(), wxString(ChartPath()));
    TChart_data r = Record("V12345 AQL", {"SAB1998", "SC2001"});
    ASSERT_EQ(db.Insert(&r), 0);
    ASSERT_EQ(db.Close(), 0);
  }
  // Version 1, no header: the ten name characters, then the list.
  std::string expected = "V12345 AQLSAB1998|SC2001|";
  expected.resize(80, '\0');
  EXPECT_EQ(ReadFile(ChartPath()), expected);

  wxDbChart db;
  ASSERT_EQ(db.Open(), 0);
  EXPECT_EQ(db.GetFileVersion(), 1);
  TChart_data found;
  ASSERT_EQ(db.FindStar("V12345 AQL", &found), 0);
  EXPECT_EQ(Utf8(wxDbChart::GetCharts(&found)), (std::vector<std::string>{"SAB1998", "SC2001"}));
  EXPECT_EQ(wxDbChart::GetStar(&found), "V12345 AQL");
  // The engine's own Find with a record buffer as the key, whose chart
  // list follows the name directly.
  TChart_data key = Record("V12345 AQL", {"PC2002"});
  ASSERT_EQ(db.Find(&key, 0), 0);
  EXPECT_EQ(Utf8(wxDbChart::GetCharts(&key)), (std::vector<std::string>{"SAB1998", "SC2001"}));
}

TEST_F(ChartTest, StarNamesCompareAsAtMostTenCharacters) {
  wxDbChart db;
  ASSERT_EQ(db.Open(), 0);
  for (TChart_data r : {Record("V12345 AQL", {"SA2001"}), Record("R LEO", {"SB2002"}), Record("V12345 AQ", {"SC2003"}),
                        Record("R LEO", {"SD2004"})})
    ASSERT_EQ(db.Insert(&r), 0);

  struct Case {
    const char* star;
    const char* chart;  // nullptr: not found
  } cases[] = {
      {"V12345 AQL", "SA2001"}, {"V12345 AQ", "SC2003"}, {"R LEO", "SB2002"},  // the first of two wins
      {"V12345 AQLX", nullptr}, {"V12345 A", nullptr},   {"r leo", nullptr},
      {"R LEO ", nullptr},      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.star);
    TChart_data found;
    const int rc = db.FindStar(c.star, &found);
    if (!c.chart) {
      EXPECT_EQ(rc, -1);
      continue;
    }
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(wxDbChart::GetCharts(&found)[0], c.chart);
  }

  // A key of exactly ten bytes is never read beyond them.
  std::unique_ptr<char[]> key(new char[10]);
  memcpy(key.get(), "V12345 AQL", 10);
  EXPECT_EQ(db.GetIndex(key.get(), 0), 0);
  memcpy(key.get(), "V12345 AQ\0", 10);
  EXPECT_EQ(db.GetIndex(key.get(), 0), 2);
  // Prefix mode ignores case, as for the other tables.
  EXPECT_EQ(db.GetIndex("r l", 1), 1);
  EXPECT_EQ(db.GetIndex("v12345 aq", 1), 0);

  // Change and Delete touch the first record of the star only.
  TChart_data r = Record("R LEO", {"SE2005"});
  ASSERT_EQ(db.Change(&r), 0);
  EXPECT_EQ(Utf8(wxDbChart::GetCharts(static_cast<TChart_data*>(db.Get(1)))), std::vector<std::string>{"SE2005"});
  EXPECT_EQ(Utf8(wxDbChart::GetCharts(static_cast<TChart_data*>(db.Get(3)))), std::vector<std::string>{"SD2004"});
  r = Record("V12345 AQL", {"x"});
  ASSERT_EQ(db.Delete(&r), 0);
  EXPECT_EQ(db.GetIndex("V12345 AQ", 0), 1);
  r = Record("XX CYG", {"x"});
  EXPECT_EQ(db.Change(&r), -1);
  EXPECT_EQ(db.Delete(&r), -1);
  db.AbandonChanges();
}

TEST(ChartRecord, SetStarRefusesWhatTheFieldCannotHold) {
  struct Case {
    const char* star;
    int rc;
  } cases[] = {
      {"SS CYG", wxDbChart::CHART_OK},
      {"V12345 AQL", wxDbChart::CHART_OK},
      {"V123456 AQL", wxDbChart::CHART_BAD_STAR},
      {"", wxDbChart::CHART_BAD_STAR},
  };
  for (const Case& c : cases) {
    TChart_data r;
    memset(&r, 'q', sizeof r);
    EXPECT_EQ(wxDbChart::SetStar(&r, c.star), c.rc) << c.star;
    std::string field(r.star, sizeof r.star);
    if (c.rc == wxDbChart::CHART_OK) {
      std::string expected = c.star;
      expected.resize(10, '\0');
      EXPECT_EQ(field, expected);
    } else {
      EXPECT_EQ(field, std::string(10, 'q'));
    }
    EXPECT_EQ(r.charts[0], 'q');  // the list is not touched
  }
}

// ---------------------------------------------------------------------------
// The chart list

TEST(ChartRecord, BuildingTheListRefusesRatherThanCuts) {
  const std::string n60(60, 'N');
  const std::string n64(64, 'N');
  struct Case {
    const char* what;
    std::vector<std::string> charts;
    int rc;
    std::string field;  // when built
    bool readsBackTheSame = true;
  } cases[] = {
      {"two charts", {"SAB1998", "#own sketch"}, wxDbChart::CHART_OK, "SAB1998|#own sketch|"},
      {"65 characters in all", {n60, "SAB"}, wxDbChart::CHART_OK, n60 + "|SAB|"},
      {"one name of 64", {n64}, wxDbChart::CHART_OK, n64 + "|"},
      {"66 characters in all", {n60, "SAB1"}, wxDbChart::CHART_LIST_TOO_LONG, ""},
      {"one name of 65", {n64 + "N"}, wxDbChart::CHART_LIST_TOO_LONG, ""},
      {"a name holding the separator", {"SAB1998", "#a|b"}, wxDbChart::CHART_BAD_NAME, ""},
      {"an empty name", {"SAB1998", ""}, wxDbChart::CHART_BAD_NAME, ""},
      {"no chart at all", {}, wxDbChart::CHART_NO_CHARTS, ""},
      {"Latin-1 takes one byte a character", {"#\xc3\xa9jszaka"}, wxDbChart::CHART_OK, "#\xe9jszaka|"},
      {"outside Latin-1", {"#\xe2\x82\xac"}, wxDbChart::CHART_OK, "#?|", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxArrayString list;
    for (const std::string& n : c.charts) list.Add(wxString::FromUTF8(n.c_str()));
    TChart_data r;
    memset(&r, 'q', sizeof r);
    ASSERT_EQ(wxDbChart::SetCharts(&r, list), c.rc);
    if (c.rc != wxDbChart::CHART_OK) {
      EXPECT_EQ(std::string(r.charts, sizeof r.charts), std::string(66, 'q'));
      continue;
    }
    std::string expected = c.field;
    expected.resize(66, '\0');
    EXPECT_EQ(std::string(r.charts, sizeof r.charts), expected);
    EXPECT_EQ(std::string(r.star, sizeof r.star), std::string(10, 'q'));
    EXPECT_EQ(r.reserved, 0x71717171);
    // And it reads back as the same names.
    if (c.readsBackTheSame) {
      EXPECT_EQ(wxDbChart::GetCharts(&r), list);
    }
  }
}

TEST(ChartRecord, SplittingTheList) {
  struct Case {
    std::string field;
    std::vector<std::string> charts;
  } cases[] = {
      {"SAB1998|#own sketch|", {"SAB1998", "#own sketch"}},
      {"a||b|", {"a", "", "b"}},
      {"SAB1998|SC20", {"SAB1998", "SC20"}},
      {"", {}},
      {"|", {""}},
      {std::string(66, 'A'), {std::string(66, 'A')}},  // a full field without terminator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    TChart_data r;
    memset(&r, 0, sizeof r);
    memcpy(r.charts, c.field.data(), c.field.size());
    r.reserved = 0x42424242;
    EXPECT_EQ(Utf8(wxDbChart::GetCharts(&r)), c.charts);
  }
}

TEST(ChartRecord, MakeRecordIsAllOrNothing) {
  TChart_data r;
  memset(&r, 'q', sizeof r);
  EXPECT_EQ(wxDbChart::MakeRecord(&r, "SS CYG", List({std::string(70, 'x').c_str()})),
            wxDbChart::CHART_LIST_TOO_LONG);
  EXPECT_EQ(wxDbChart::MakeRecord(&r, "V123456 AQL", List({"SAB1998"})), wxDbChart::CHART_BAD_STAR);
  EXPECT_EQ(Bytes(r), std::string(80, 'q'));
  ASSERT_EQ(wxDbChart::MakeRecord(&r, "SS CYG", List({"SAB1998"})), wxDbChart::CHART_OK);
  std::string expected("SS CYG\0\0\0\0SAB1998|", 18);
  expected.resize(80, '\0');
  EXPECT_EQ(Bytes(r), expected);
}

TEST_F(ChartTest, RemovingTheLastChartDeletesTheStar) {
  wxDbChart db;
  ASSERT_EQ(db.Open(), 0);
  TChart_data r = Record("SS CYG", {"SAB1998"});
  ASSERT_EQ(db.Insert(&r), 0);
  // No empty list is ever built: the record goes instead.
  ASSERT_EQ(db.FindStar("SS CYG", &r), 0);
  EXPECT_EQ(wxDbChart::SetCharts(&r, wxArrayString()), wxDbChart::CHART_NO_CHARTS);
  ASSERT_EQ(db.Delete(&r), 0);
  EXPECT_EQ(db.FindStar("SS CYG", &r), -1);
  ASSERT_EQ(db.Close(), 0);
  EXPECT_EQ(ReadFile(ChartPath()), "");
}

// ---------------------------------------------------------------------------
// Files

TEST_F(ChartTest, VersionOfTheFileIsKept) {
  const std::string rec = Bytes(Record("R LEO", {"SAB1998"}));
  struct Case {
    const char* what;
    std::string file;
    std::string header;
  } cases[] = {
      {"version 1", rec, ""},
      {"version 2", std::string("/OBS:V2\0", 8) + rec, std::string("/OBS:V2\0", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteTestFile("chart.db", c.file);
    wxDbChart db;
    ASSERT_EQ(db.Open(), 0);
    ASSERT_EQ(db.GetCount(), 1);
    TChart_data r = Record("SS CYG", {"PC2002"});
    ASSERT_EQ(db.Insert(&r), 0);
    ASSERT_EQ(db.Close(), 0);
    EXPECT_EQ(ReadFile(ChartPath()), c.header + rec + Bytes(r));
  }
}

TEST_F(ChartTest, GarbageFieldsNeverRunPastTheirFields) {
  // Star names and chart lists that fill their fields, and a spare field
  // that is not 0.
  TChart_data full;
  memset(&full, 'A', sizeof full);
  TChart_data noise;
  for (size_t i = 0; i < sizeof noise; ++i) reinterpret_cast<unsigned char*>(&noise)[i] = (unsigned char)(i * 37 + 200);
  WriteTestFile("chart.db", Bytes(full) + Bytes(noise) + std::string(50, 'z'));

  wxDbChart db;
  ASSERT_EQ(db.Open(), 0);
  ASSERT_EQ(db.GetCount(), 2);
  EXPECT_FALSE(db.IsDirty());
  for (int i = 0; i < db.GetCount(); ++i) {
    const TChart_data* r = static_cast<TChart_data*>(db.Get(i));
    EXPECT_LT(strnlen(r->charts, sizeof r->charts), sizeof r->charts) << i;
  }
  TChart_data found;
  ASSERT_EQ(db.FindStar(std::string(10, 'A'), &found), 0);
  EXPECT_EQ(Utf8(wxDbChart::GetCharts(&found)), std::vector<std::string>{std::string(65, 'A')});
  EXPECT_EQ(db.FindStar(std::string(9, 'A'), &found), -1);

  // A record handed in whole, without terminators, goes in cleaned.
  ASSERT_EQ(db.Insert(&full), 0);
  const TChart_data* stored = static_cast<TChart_data*>(db.Get(2));
  EXPECT_EQ(std::string(stored->charts), std::string(65, 'A'));
  EXPECT_EQ(stored->reserved, 0);
  db.AbandonChanges();
}

TEST_F(ChartTest, TheGlobalIsTheProgramFoldersTable) {
  WriteTestFile("chart.db", Bytes(Record("R LEO", {"SAB1998"})));
  ASSERT_EQ(g_chart.Open(), 0);
  EXPECT_EQ(g_chart.GetPath(), wxString(ChartPath()));
  TChart_data r;
  EXPECT_EQ(g_chart.FindStar("R LEO", &r), 0);
  ASSERT_EQ(g_chart.Close(), 0);
}

}  // namespace
