// The observation index: date ranges, filters, sorts, and reading and
// deleting through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "DbFixtures.h"
#include "astro/AstroTime.h"
#include "db/ObsIndex.h"

using namespace pelk_test;

namespace {

// Central European time: one hour east, daylight saving in summer.
const char kCET[] = "CET-1CEST,M3.5.0,M10.5.0/3";

double UtJd(int y, int mo, int d, int h, int mi = 0) { return wxAstroTime::DateTime2JD(y, mo, d, h, mi, 0, false, nullptr); }

wxAstroTime Local(int y, int mo, int d, int h, int mi = 0) {
  wxAstroTime t;
  t.SetDateTimeLocal(y, mo, d, h, mi, 0);
  return t;
}

double LocalJd(int y, int mo, int d, int h, int mi = 0) {
  double jd = 0;
  Local(y, mo, d, h, mi).GetDateTimeJD(&jd);
  return jd;
}

// Variable names of the index, in index order, through Scan.
std::vector<std::string> Scanned(wxDbObsIndex& index) {
  std::vector<std::string> out;
  TObs_data o;
  for (int rc = index.Scan(0, &o); rc == 0; rc = index.Scan(1, &o)) out.push_back(Field(o.variable, sizeof o.variable));
  return out;
}

// The star table of the filter tests.
void FilterStars() {
  for (const TStar_data& s : {Star("MIRA", "0214-03", "M", 'F'), Star("SEMI", "0001+01", "SR:", 'F'),
                              Star("ALGOL", "0302+40", "EA", 'E'), Star("PULS", "0002+02", "EA+DSCT", 'E'),
                              Star("IRR", "0003+03", "L", 'F'), Star("RCB", "0004+04", "R", 'U'),
                              Star("LYRA", "0005+05", "RR", 'F'), Star("NOVA", "0006+06", "N", 'F'),
                              Star("INSTAB", "0007+07", "IN", 'F'), Star("BLANK", "0008+08", "", 'F'),
                              Star("COLON", "0009+09", ":EA", 'F')})
    ASSERT_EQ(g_stars.Insert(&s), 0);
}

}  // namespace

// ---------------------------------------------------------------------------
// Date ranges

TEST(ObsIndexRange, KindsAroundNoonAndTheTurnOfTheYear) {
  DbTestSetup setup;
  ScopedTZ tz(kCET);
  struct Case {
    const char* what;
    wxAstroTime now;
    int kind;
    double from, to;
  } cases[] = {
      {"08:00 on 1 March: current month is February", Local(2021, 3, 1, 8), RANGE_THIS_MONTH, UtJd(2021, 2, 1, 11),
       UtJd(2021, 3, 1, 11)},
      {"08:00 on 1 March: last month is January", Local(2021, 3, 1, 8), RANGE_LAST_MONTH, UtJd(2021, 1, 1, 11),
       UtJd(2021, 2, 1, 11)},
      {"11:59 on 1 March is still February", Local(2021, 3, 1, 11, 59), RANGE_THIS_MONTH, UtJd(2021, 2, 1, 11),
       UtJd(2021, 3, 1, 11)},
      {"13:00 on 1 March: March, ending at summer-time noon", Local(2021, 3, 1, 13), RANGE_THIS_MONTH,
       UtJd(2021, 3, 1, 11), UtJd(2021, 4, 1, 10)},
      {"12:00 on 1 March is March", Local(2021, 3, 1, 12), RANGE_THIS_MONTH, UtJd(2021, 3, 1, 11),
       UtJd(2021, 4, 1, 10)},
      {"13:00 on 1 March: last month is February", Local(2021, 3, 1, 13), RANGE_LAST_MONTH, UtJd(2021, 2, 1, 11),
       UtJd(2021, 3, 1, 11)},
      {"November ends at noon of 1 December", Local(2021, 11, 15, 20), RANGE_THIS_MONTH, UtJd(2021, 11, 1, 11),
       UtJd(2021, 12, 1, 11)},
      {"December ends at noon of 1 January", Local(2021, 12, 15, 20), RANGE_THIS_MONTH, UtJd(2021, 12, 1, 11),
       UtJd(2022, 1, 1, 11)},
      {"morning of 1 January: current month is December", Local(2021, 1, 1, 8), RANGE_THIS_MONTH,
       UtJd(2020, 12, 1, 11), UtJd(2021, 1, 1, 11)},
      {"morning of 1 January: last month is November", Local(2021, 1, 1, 8), RANGE_LAST_MONTH,
       UtJd(2020, 11, 1, 11), UtJd(2020, 12, 1, 11)},
      {"January: last month is December", Local(2021, 1, 20, 22), RANGE_LAST_MONTH, UtJd(2020, 12, 1, 11),
       UtJd(2021, 1, 1, 11)},
      {"current year", Local(2021, 6, 1, 22), RANGE_THIS_YEAR, UtJd(2021, 1, 1, 11), UtJd(2022, 1, 1, 11)},
      {"years have no morning rule", Local(2021, 1, 1, 8), RANGE_THIS_YEAR, UtJd(2021, 1, 1, 11),
       UtJd(2022, 1, 1, 11)},
      {"last year", Local(2021, 6, 1, 22), RANGE_LAST_YEAR, UtJd(2020, 1, 1, 11), UtJd(2021, 1, 1, 11)},
      {"all observations", Local(2021, 6, 1, 22), RANGE_ALL, 0, 0},
      {"a kind that is not listed", Local(2021, 6, 1, 22), 8, 0, 0},
      {"a negative kind", Local(2021, 6, 1, 22), -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double from = -1, to = -1;
    EXPECT_EQ(wxDbObsIndex::GetDateRange(nullptr, c.kind, from, to, c.now), 1);
    EXPECT_NEAR(from, c.from, 1e-6);
    EXPECT_NEAR(to, c.to, 1e-6);
  }
}

TEST(ObsIndexRange, MonthAndNightOfAGivenInstant) {
  DbTestSetup setup;
  ScopedTZ tz(kCET);
  struct Case {
    const char* what;
    int kind;
    double given;
    double from, to;
  } cases[] = {
      {"the month of the morning of the first has no morning rule", RANGE_MONTH_OF, LocalJd(2021, 3, 1, 8),
       UtJd(2021, 3, 1, 11), UtJd(2021, 4, 1, 10)},
      {"the month of a December night", RANGE_MONTH_OF, LocalJd(2021, 12, 31, 23), UtJd(2021, 12, 1, 11),
       UtJd(2022, 1, 1, 11)},
      {"02:00 belongs to the night that began the day before", RANGE_NIGHT_OF, LocalJd(2021, 3, 10, 2),
       UtJd(2021, 3, 9, 11), UtJd(2021, 3, 10, 11)},
      {"11:59 too", RANGE_NIGHT_OF, LocalJd(2021, 3, 10, 11, 59), UtJd(2021, 3, 9, 11), UtJd(2021, 3, 10, 11)},
      {"12:00 begins a night", RANGE_NIGHT_OF, LocalJd(2021, 3, 10, 12), UtJd(2021, 3, 10, 11),
       UtJd(2021, 3, 11, 11)},
      {"a summer night", RANGE_NIGHT_OF, LocalJd(2021, 7, 1, 23), UtJd(2021, 7, 1, 10), UtJd(2021, 7, 2, 10)},
      {"the night of New Year", RANGE_NIGHT_OF, LocalJd(2022, 1, 1, 3), UtJd(2021, 12, 31, 11),
       UtJd(2022, 1, 1, 11)},
      {"the night before the first of March", RANGE_NIGHT_OF, LocalJd(2021, 3, 1, 1), UtJd(2021, 2, 28, 11),
       UtJd(2021, 3, 1, 11)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double from = c.given, to = 0;
    EXPECT_EQ(wxDbObsIndex::GetDateRange(nullptr, c.kind, from, to), 1);
    EXPECT_NEAR(from, c.from, 1e-6);
    EXPECT_NEAR(to, c.to, 1e-6);
  }
}

TEST(ObsIndexRange, LastObservationNight) {
  DbTestSetup setup;
  ScopedTZ tz(kCET);
  wxDbObs db;
  const wxAstroTime now = Local(2021, 6, 15, 20);
  double from = 0, to = 0;
  // Without estimates: the present night.
  wxDbObsIndex::GetDateRange(&db, RANGE_LAST_NIGHT, from, to, now);
  EXPECT_NEAR(from, UtJd(2021, 6, 15, 10), 1e-6);
  EXPECT_NEAR(to, UtJd(2021, 6, 16, 10), 1e-6);
  // The night of the latest estimate, wherever it is stored; a JD that is
  // no number is passed over.
  for (double jd : {LocalJd(2021, 3, 10, 2), LocalJd(2021, 3, 12, 23), std::nan(""), LocalJd(2021, 3, 5, 22)}) {
    TObs_data o = Obs("X", jd);
    ASSERT_GT(db.Insert(&o), 0);
  }
  wxDbObsIndex::GetDateRange(&db, RANGE_LAST_NIGHT, from, to, now);
  EXPECT_NEAR(from, UtJd(2021, 3, 12, 11), 1e-6);
  EXPECT_NEAR(to, UtJd(2021, 3, 13, 11), 1e-6);
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Selection

TEST(ObsIndexCreate, BoundsAndTheWholeFile) {
  DbTestSetup setup;
  wxDbObs db;
  InsertDays(db, {100, 200, 300});
  struct Case {
    double from, to;
    std::vector<std::string> selected;
  } cases[] = {
      {0, 0, {"S100", "S200", "S300"}},
      {200, 300, {"S200"}},  // from is in, to is out
      {100, 0, {"S100", "S200", "S300"}},
      {0, 100, {}},
      {150, 1e9, {"S200", "S300"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " " + std::to_string(c.to));
    wxDbObsIndex index;
    ASSERT_EQ(index.Create(&db, c.from, c.to, nullptr, 0), 1);
    EXPECT_EQ(Scanned(index), c.selected);
    EXPECT_EQ(index.GetCount(), (int)c.selected.size());
    EXPECT_EQ(index.GetFrom(), c.from);
    EXPECT_EQ(index.GetTo(), c.to);
    // Stars missing from the table carry the placeholders.
    if (!c.selected.empty()) {
      EXPECT_STREQ(index.GetHarvard(), "9999+99");
      EXPECT_STREQ(index.GetVarType(), "?");
    }
  }
  db.AbandonChanges();
}

TEST(ObsIndexCreate, Filters) {
  DbTestSetup setup;
  FilterStars();
  wxDbObs db;
  InsertNamed(db, {"MIRA", "SEMI", "ALGOL", "PULS", "IRR", "RCB", "LYRA", "NOVA", "INSTAB", "BLANK", "COLON",
                   "UNKNOWN", "mira"});
  using V = std::vector<std::string>;
  struct Case {
    const char* filter;
    V selected;
  } cases[] = {
      {"~M;SR", {"ALGOL", "PULS", "IRR", "RCB", "LYRA", "NOVA", "INSTAB", "BLANK", "COLON", "UNKNOWN", "mira"}},
      {"RR;R", {"RCB", "LYRA"}},
      {"EA", {"ALGOL", "PULS"}},  // EA+DSCT stands for EA; ":EA" has an empty stem
      {"AM;CV;FU;GCAS;I;IN;N;NA;", {"NOVA", "INSTAB"}},
      {"?", {"UNKNOWN", "mira"}},
      {"~", {"MIRA", "SEMI", "ALGOL", "PULS", "IRR", "RCB", "LYRA", "NOVA", "INSTAB", "BLANK", "COLON", "UNKNOWN",
             "mira"}},
      {";", {}},
      {"%E", {"ALGOL", "PULS"}},
      {"%U", {"RCB", "UNKNOWN", "mira"}},
      {"%FU", {"MIRA", "SEMI", "IRR", "RCB", "LYRA", "NOVA", "INSTAB", "BLANK", "COLON", "UNKNOWN", "mira"}},
      {"%", {}},
      {"", {"MIRA", "SEMI", "ALGOL", "PULS", "IRR", "RCB", "LYRA", "NOVA", "INSTAB", "BLANK", "COLON", "UNKNOWN",
            "mira"}},
      {"=MIRA", {"MIRA"}},
      {"=mira", {"mira"}},
      {"=MIR", {}},
      {"=", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    wxDbObsIndex index;
    ASSERT_EQ(index.Create(&db, 0, 0, c.filter, 0), 1);
    EXPECT_EQ(Scanned(index), c.selected);
  }
  // No filter takes every class.
  wxDbObsIndex index;
  ASSERT_EQ(index.Create(&db, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(index.GetCount(), 13);
  db.AbandonChanges();
}

TEST(ObsIndexCreate, StarDataAndSorts) {
  DbTestSetup setup;
  for (const TStar_data& s : {Star("R LEO", "0942+11", "M", 'F'), Star("X LEO", "0942+11", "UGSS", 'F'),
                              Star("SS CYG", "2138+43", "UGSS", 'F'), Star("R CYG", "1935+49", "M", 'F'),
                              Star("RR CYG", "1935+49a", "RRAB", 'F'), Star("AB", "0001+00", "?", 'U')})
    ASSERT_EQ(g_stars.Insert(&s), 0);
  wxDbObs db;
  struct In {
    const char* v;
    double jd;
  } in[] = {{"SS CYG", 30}, {"R LEO", 20}, {"NEW STAR", 5}, {"RR CYG", 10}, {"R LEO", 10}, {"R CYG", 40},
            {"X LEO", 15},  {"AB", 50},    {"R LEO", 10}};
  for (const In& o : in) {
    TObs_data r = Obs(o.v, o.jd);
    ASSERT_GT(db.Insert(&r), 0);
  }
  struct Case {
    int sort;
    std::vector<std::string> order;  // name@jd
  } cases[] = {
      {0, {"SS CYG@30", "R LEO@20", "NEW STAR@5", "RR CYG@10", "R LEO@10", "R CYG@40", "X LEO@15", "AB@50", "R LEO@10"}},
      // Designation, then JD; equal both, stored order. A star missing from
      // the table sorts last.
      {1, {"AB@50", "R LEO@10", "R LEO@10", "X LEO@15", "R LEO@20", "R CYG@40", "RR CYG@10", "SS CYG@30", "NEW STAR@5"}},
      // Constellation, then the rest of the name ("R " before "RR " and
      // "SS "), then JD. A name of less than three characters is all
      // constellation.
      {2, {"AB@50", "R CYG@40", "RR CYG@10", "SS CYG@30", "R LEO@10", "R LEO@10", "R LEO@20", "X LEO@15", "NEW STAR@5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sort);
    wxDbObsIndex index;
    ASSERT_EQ(index.Create(&db, 0, 0, "", c.sort), 1);
    std::vector<std::string> got;
    std::vector<int> records;
    TObs_data o;
    for (int rc = index.Scan(0, &o); rc == 0; rc = index.Scan(1, &o)) {
      got.push_back(Field(o.variable, sizeof o.variable) + "@" + std::to_string((int)o.jd));
      records.push_back(index.GetRecordIndex());
      // The current designation and type are those of the star read.
      TStar_data star;
      memset(&star, 0, sizeof star);
      memcpy(star.name, o.variable, sizeof star.name);
      if (g_stars.Find(&star, 0) == 0) {
        EXPECT_STREQ(index.GetHarvard(), star.harvard);
        EXPECT_STREQ(index.GetVarType(), star.type);
      } else {
        EXPECT_STREQ(index.GetHarvard(), "9999+99");
      }
    }
    EXPECT_EQ(got, c.order);
    if (c.sort == 1) {
      EXPECT_EQ(records[1], 4);  // the two equal entries in stored order
      EXPECT_EQ(records[2], 8);
    }
  }
  g_stars.AbandonChanges();
  db.AbandonChanges();
}

TEST(ObsIndexCreate, SortsAgreeWithAPlainComparison) {
  // Many stars sharing designations, names of every length, stars missing
  // from the table, equal JDs and a JD that is no number: the index order
  // must be the one a plain comparison of the records gives, ties in
  // stored order.
  DbTestSetup setup;
  std::mt19937 rng(5);
  const char* const names[] = {"R LEO", "RR LEO", "R  LEO", "X LEO", "AB", "A", "", "R CYG", "RR CYG", "SS CYG",
                               "V1234 SGR", "Z", "NEW ONE", "OTHER NEW"};
  for (int i = 0; i < 10; ++i) {
    const std::string harvard = i % 3 == 0 ? "0942+11" : "19" + std::to_string(i) + "+00";
    TStar_data star = Star(names[i], harvard.c_str(), "M", 'F');
    ASSERT_EQ(g_stars.Insert(&star), 0);
  }
  wxDbObs db;
  for (int i = 0; i < 400; ++i) {
    TObs_data o = Obs(names[rng() % 14], i % 50 == 7 ? std::nan("") : (double)(rng() % 40));
    ASSERT_GT(db.Insert(&o), 0);
  }
  auto harvardOf = [](const TObs_data& o) {
    TStar_data key;
    memset(&key, 0, sizeof key);
    memcpy(key.name, o.variable, sizeof key.name);
    return g_stars.Find(&key, 0) == 0 ? Field(key.harvard, 12) : std::string("9999+99");
  };
  auto jdLess = [](double a, double b) { return std::isnan(a) ? false : std::isnan(b) ? true : a < b; };
  for (int sort : {1, 2}) {
    SCOPED_TRACE(sort);
    std::vector<int> expected;
    for (int i = 0; i < db.GetCount(); ++i) expected.push_back(i);
    auto key = [&](int r) {
      TObs_data o;
      db.Get(r, &o);
      const std::string name = Field(o.variable, 12);
      if (sort == 1) return harvardOf(o);
      const size_t cut = name.size() >= 3 ? name.size() - 3 : 0;
      return name.substr(cut) + std::string(1, '\0') + name.substr(0, cut);
    };
    auto jdOf = [&](int r) {
      TObs_data o;
      db.Get(r, &o);
      return o.jd;
    };
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
      const std::string ka = key(a), kb = key(b);
      if (ka != kb) return ka < kb;
      return jdLess(jdOf(a), jdOf(b));
    });
    wxDbObsIndex index;
    ASSERT_EQ(index.Create(&db, 0, 0, "", sort), 1);
    std::vector<int> got;
    TObs_data o;
    for (int rc = index.Scan(0, &o); rc == 0; rc = index.Scan(1, &o)) got.push_back(index.GetRecordIndex());
    EXPECT_EQ(got, expected);
  }
  g_stars.AbandonChanges();
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Reading and deleting

TEST(ObsIndexDelete, DeleteDuringAScan) {
  DbTestSetup setup;
  wxDbObs db;
  InsertNamed(db, {"A", "B", "C", "D"});
  wxDbObsIndex index;
  ASSERT_EQ(index.Create(&db, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(index.Delete(-1), -1);  // nothing scanned yet
  TObs_data o;
  ASSERT_EQ(index.Scan(0, &o), 0);
  EXPECT_EQ(Field(o.variable, 12), "A");
  ASSERT_EQ(index.Delete(-1), 0);
  ASSERT_EQ(index.Scan(1, &o), 0);
  EXPECT_EQ(Field(o.variable, 12), "B");
  EXPECT_EQ(index.GetRecordIndex(), 0);  // B moved down into A's place
  ASSERT_EQ(index.Scan(1, &o), 0);
  ASSERT_EQ(index.Delete(-1), 0);  // C
  ASSERT_EQ(index.Scan(1, &o), 0);
  EXPECT_EQ(Field(o.variable, 12), "D");
  EXPECT_EQ(index.Scan(1, &o), -1);
  // Deleted entries are passed over and never deleted twice.
  EXPECT_EQ(Scanned(index), (std::vector<std::string>{"B", "D"}));
  EXPECT_EQ(index.Delete(0), 0);
  EXPECT_EQ(index.Get(0, &o), -1);
  EXPECT_EQ(index.Delete(4), -1);
  std::vector<std::string> left;
  for (int i = 0; db.Get(i, &o) == 1; ++i) left.push_back(Field(o.variable, 12));
  EXPECT_EQ(left, (std::vector<std::string>{"B", "D"}));
  db.AbandonChanges();
}

TEST(ObsIndexDelete, EveryEntryKeepsItsRecordWhateverIsDeleted) {
  // A sorted index over a file with estimates outside it; entries are
  // deleted in random order and after each deletion every remaining entry
  // must still read its own estimate.
  DbTestSetup setup;
  std::mt19937 rng(99);
  wxDbObs db;
  for (int i = 0; i < 60; ++i) {
    TObs_data o = Obs(("S" + std::to_string(i)).c_str(), (double)(rng() % 1000));
    ASSERT_GT(db.Insert(&o), 0);
  }
  wxDbObsIndex index;
  ASSERT_EQ(index.Create(&db, 100, 900, nullptr, 1), 1);
  std::vector<int> numbers(index.GetCount());
  TObs_data o;
  for (int i = 0; i < index.GetCount(); ++i) {
    ASSERT_EQ(index.Get(i, &o), 0);
    numbers[i] = o.number;
  }
  std::vector<int> order(index.GetCount());
  for (int i = 0; i < (int)order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), rng);
  const int before = db.GetCount();
  for (size_t k = 0; k < order.size(); ++k) {
    ASSERT_EQ(index.Delete(order[k]), 0);
    EXPECT_EQ(db.GetCount(), before - (int)k - 1);
    for (size_t j = k + 1; j < order.size(); ++j) {
      ASSERT_EQ(index.Get(order[j], &o), 0);
      EXPECT_EQ(o.number, numbers[order[j]]);
    }
  }
  // What is left is exactly what lay outside the range.
  for (int i = 0; db.Get(i, &o) == 1; ++i) EXPECT_TRUE(o.jd < 100 || o.jd >= 900);
  db.AbandonChanges();
}

TEST(ObsIndexCreate, GarbageFieldsAreReadWithinTheirWidth) {
  // Names and star fields with no terminator anywhere.
  DbTestSetup setup;
  TStar_data star;
  memset(&star, 'Z', sizeof star);
  star.cls = 'F';
  ASSERT_EQ(g_stars.Insert(&star), 0);
  wxDbObs db;
  TObs_data o;
  memset(&o, 'Z', sizeof o);
  ASSERT_EQ(db.wxMemDb::Insert(&o), 0);
  memset(&o, 0x80, sizeof o);
  ASSERT_EQ(db.wxMemDb::Insert(&o), 0);
  for (int sort : {0, 1, 2}) {
    for (const char* filter : {"=ZZZZZZZZZZZZ", "ZZZZZZZZZZZ", "~ZZZZZZZZZZZ", "%F"}) {
      SCOPED_TRACE(std::string(filter) + " sort " + std::to_string(sort));
      wxDbObsIndex index;
      ASSERT_EQ(index.Create(&db, 0, 0, filter, sort), 1);
      EXPECT_EQ(index.GetCount(), 1);
      TObs_data got;
      if (index.Scan(0, &got) == 0) {
        EXPECT_LT(strlen(index.GetHarvard()), 12u);
        EXPECT_LT(strlen(index.GetVarType()), 12u);
      }
    }
  }
  g_stars.AbandonChanges();
  db.AbandonChanges();
}
