// The scope use fed by the observation file, and the figures of a
// selection in both unit systems.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DbFixtures.h"
#include "db/DbScope.h"
#include "db/ObsIndex.h"

using namespace pelk_test;

namespace {

void AddScope(const char* name, int type, const char* parameters) {
  TScope_data scope;
  ASSERT_EQ(wxDbScope::Fill(&scope, name, type, parameters), 0);
  ASSERT_EQ(g_scope.Insert(&scope), 0);
}

TScopeUsage Usage(int index) {
  TScopeUsage u{};
  EXPECT_TRUE(g_scope.GetUsage(index, &u));
  return u;
}

std::vector<std::string> Figures(wxDbObsIndex& index, int units) {
  std::vector<std::string> out;
  for (const wxString& s : index.Statistics(units)) out.push_back(std::string(s.utf8_str()));
  return out;
}

}  // namespace

TEST(ObsUsage, EveryEstimateOpenedOrInsertedCountsForItsScope) {
  DbTestSetup setup;
  ASSERT_EQ(g_scope.Open(), 0);
  AddScope("10x50", 1, "10x50");
  {
    wxDbObs file;
    file.Open(false, 0);
    for (const char* mag : {" 11.5 ", "  9.0:", "<12.0 "}) {
      TObs_data o = Obs("R LEO", 2451545.0, mag, "10x50");
      ASSERT_GT(file.wxMemDb::Insert(&o), -1);
    }
    // Not counted: no magnitude, and a scope that is not in the list.
    TObs_data none = Obs("R LEO", 2451545.0, "", "10x50");
    TObs_data gone = Obs("R LEO", 2451545.0, " 10.0 ", "old scope");
    file.wxMemDb::Insert(&none);
    file.wxMemDb::Insert(&gone);
    ASSERT_EQ(file.Close(), 0);
  }
  const int binoculars = g_scope.GetIndex("10x50", 0);
  ASSERT_GT(binoculars, 0);
  EXPECT_EQ(Usage(binoculars).uses, 0);

  ASSERT_EQ(g_obs.Open(false, 0), 0);
  EXPECT_EQ(Usage(binoculars).uses, 3);
  EXPECT_EQ(Usage(binoculars).faintest, 120);
  TObs_data o = Obs("R LEO", 2451546.0, " 12.4 ", "10x50");
  ASSERT_GT(g_obs.Insert(&o), 0);
  EXPECT_EQ(Usage(binoculars).uses, 4);
  EXPECT_EQ(Usage(binoculars).faintest, 124);
  // Opening again counts everything again.
  ASSERT_EQ(g_obs.Close(), 0);
  ASSERT_EQ(g_obs.Open(false, 0), 0);
  EXPECT_EQ(Usage(binoculars).uses, 8);
}

TEST(ObsStatistics, Figures) {
  DbTestSetup setup;
  ASSERT_EQ(g_scope.Open(), 0);
  AddScope("REFR", 2, "80/900");
  AddScope("BINO", 1, "10x50");
  AddScope("NEWT", 3, "200/1200");
  AddScope("BAD", 3, "200-1200");
  AddScope("MONO", 9, "8x30");
  AddScope("OTHER", 8, "300/1500");

  struct Obs_ {
    const char* star;
    const char* mag;
    const char* scope;
  };
  struct Case {
    const char* what;
    std::vector<Obs_> obs;
    std::vector<std::string> units1, units2;
  } cases[] = {
      {"nothing", {}, {"0", "0", "0", "0", "n/e"}, {"0", "0", "0", "0", "n/e"}},
      {"inner sanctum at 13.8, and at fainter than 14.0",
       {{"A", " 13.7 ", "n/e"},
        {"A", " 13.8 ", "n/e"},
        {"A", " 14.0 ", "n/e"},
        {"A", "<13.9 ", "n/e"},
        {"A", "<14.0 ", "n/e"},
        {"A", " 13.75", "n/e"},
        {"A", " 13.8:", "n/e"},
        {"A", "  9.8 ", "n/e"}},
       {"8", "4", "2", "1", "n/e"},
       {"8", "4", "2", "1", "n/e"}},
      {"stars are told apart by their exact names",
       {{"R LEO", "  9.8 ", "n/e"}, {"r leo", "  9.8 ", "n/e"}, {"R LEO", " 10.1 ", "n/e"}},
       {"3", "0", "0", "2", "n/e"},
       {"3", "0", "0", "2", "n/e"}},
      {"instruments in order of first use",
       {{"A", "  9.8 ", "REFR"},
        {"A", "  9.8 ", "n/e"},
        {"A", "  9.8 ", "BINO"},
        {"A", "  9.8 ", "REFR"},
        {"A", "  9.8 ", "NEWT"},
        {"A", "  9.8 ", "GONE"},
        {"A", "  9.8 ", "BAD"},
        {"A", "  9.8 ", "MONO"},
        {"A", "  9.8 ", "OTHER"}},
       {"9", "0", "0", "1", "3\" refr., 10x50B, 8\" refl., 8x30M, 12\"  "},
       {"9", "0", "0", "1", "8L, 10x50B, 20T, 8x30M, 30 "}},
      {"only the naked eye and scopes that are gone",
       {{"A", "  9.8 ", "n/e"}, {"A", "  9.8 ", "GONE"}},
       {"2", "0", "0", "1", "n/e"},
       {"2", "0", "0", "1", "n/e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxDbObs db;
    for (const Obs_& o : c.obs) {
      TObs_data r = Obs(o.star, 2451545.0, o.mag, o.scope);
      ASSERT_GT(db.Insert(&r), 0);
    }
    wxDbObsIndex index;
    ASSERT_EQ(index.Create(&db, 0, 0, "", 0), 1);
    EXPECT_EQ(Figures(index, 1), c.units1);
    EXPECT_EQ(Figures(index, 2), c.units2);
    EXPECT_EQ(Figures(index, 0), c.units1);  // anything but 2 is inches
    db.AbandonChanges();
  }
}

TEST(ObsBadFiles, RandomBytesAreReadWithinTheirFields) {
  // Observation and star files of random bytes: no text field need be
  // terminated, no JD need be a number. Everything that reads them runs
  // over them; the address sanitizer watches the block ends.
  DbTestSetup setup;
  std::mt19937 rng(2024);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE(round);
    auto noise = [&](size_t n) {
      std::string bytes(n, '\0');
      for (char& ch : bytes) ch = (char)(rng() % 4 == 0 ? 'A' + rng() % 3 : rng() % 256);
      return bytes;
    };
    WriteTestFile("stars.db", noise(37 * 40 + round));
    WriteTestFile("ABC.obs", noise(120 * 60 + round));
    WriteTestFile("ABC.scope", noise(48 * 5));
    ASSERT_EQ(g_stars.Open(wxString()), 0);
    g_scope.Open();
    ASSERT_EQ(g_obs.Open(false, 0), 0);
    for (int sort : {0, 1, 2}) {
      for (const char* filter : {(const char*)nullptr, "", "%FEU", "~M;SR", "A;B;AB", "=AAA"}) {
        wxDbObsIndex index;
        ASSERT_EQ(index.Create(&g_obs, 0, 0, filter, sort), 1);
        TObs_data o;
        for (int rc = index.Scan(0, &o); rc == 0; rc = index.Scan(1, &o)) {
          EXPECT_LT(strlen(index.GetHarvard()), 12u);
          EXPECT_LT(strlen(index.GetVarType()), 12u);
        }
        EXPECT_EQ(index.Statistics(1).size(), 5u);
        EXPECT_EQ(index.Statistics(2).size(), 5u);
      }
    }
    double from = 0, to = 0;
    wxDbObsIndex::GetDateRange(&g_obs, RANGE_LAST_NIGHT, from, to);
    char name[12] = {'a', 'A', 'b', 'B', 'c', 'C', 'a', 'A', 'b', 'B', 'c', 'C'};
    if (g_obs.FindStar(name) == 0) {
      EXPECT_LT(strnlen(name, sizeof name), sizeof name);
    }
    TObs_data o = Obs("R LEO", 2451545.0);
    EXPECT_GT(g_obs.Insert(&o), 0);
    DbTestSetup::ResetDatabases();
  }
}
