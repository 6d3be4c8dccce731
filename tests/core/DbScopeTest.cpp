// The scope database: the naked-eye record, the limiting magnitude from the
// parameters, the usage statistics, the scope proposal, the warning about
// unusable parameters, and scope files whose text fields are garbage.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <wx/defs.h>

#include "RecordingPrompt.h"
#include "TempHome.h"
#include "config/MyConfig.h"
#include "config/UserPrompt.h"
#include "db/DbScope.h"
#include "db/Latin1.h"

namespace {

using pelk_test::ReadFile;
using pelk_test::RecordingPrompt;
using pelk_test::TestDir;
using pelk_test::WriteTestFile;

const std::string kHeader("/OBS:V2\0", 8);

// The configuration of observer ABC, whose data folder is the test's own
// folder, and a prompt that records instead of asking.
class ScopeTest : public testing::Test {
 protected:
  void SetUp() override {
    config->SetFolder(wxString(TestDir()), FOLDER_DATAPATH);
    g_observer = "ABC";
    m_oldPrompt = SetUserPrompt(&prompt);
  }
  void TearDown() override {
    SetUserPrompt(m_oldPrompt);
    g_observer.clear();
  }

  static std::string ScopePath() { return TestDir() + "/ABC.scope"; }

  pelk_test::ScopedConfig store;
  RecordingPrompt prompt;

 private:
  wxUserPrompt* m_oldPrompt = nullptr;
};

TScope_data Scope(const char* name, int type, const char* parameters) {
  TScope_data s;
  EXPECT_EQ(wxDbScope::Fill(&s, name, type, parameters), 0) << name;
  return s;
}

std::string Bytes(const TScope_data& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof s); }

// A scope file of the given records (version 2).
void WriteScopes(const std::vector<TScope_data>& scopes) {
  std::string bytes = kHeader;
  for (const TScope_data& s : scopes) bytes += Bytes(s);
  WriteTestFile("ABC.scope", bytes);
}

std::vector<std::string> Names(wxDbScope& db) {
  std::vector<std::string> names;
  for (int i = 0; i < db.GetCount(); ++i)
    names.push_back(static_cast<TScope_data*>(db.Get(i))->name);
  return names;
}

TScopeUsage UsageOf(const wxDbScope& db, int index) {
  TScopeUsage u = {-999, -999, -999};
  EXPECT_TRUE(db.GetUsage(index, &u)) << index;
  return u;
}

std::string Proposal(const wxDbScope& db, int mag) {
  char name[16];
  memset(name, 'z', sizeof name);
  EXPECT_EQ(db.SelectByMg(name, mag), 1);
  return std::string(name, strnlen(name, sizeof name));
}

// ---------------------------------------------------------------------------
// The naked eye

TEST_F(ScopeTest, MissingFileGivesTheNakedEyeAndIsWrittenOnClose) {
  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  ASSERT_EQ(db.GetCount(), 1);
  EXPECT_TRUE(db.IsDirty());
  EXPECT_EQ(UsageOf(db, 0).hmg, 60);
  EXPECT_EQ(UsageOf(db, 0).faintest, -50);
  EXPECT_TRUE(prompt.shown.empty());
  ASSERT_EQ(db.Close(), 0);

  // Name, type 0, zero reserved bytes, "1x8", behind the version-2 header.
  std::string eye(48, '\0');
  memcpy(&eye[0], "n/e", 3);
  memcpy(&eye[32], "1x8", 3);
  EXPECT_EQ(ReadFile(ScopePath()), kHeader + eye);
  TScopeUsage none;
  EXPECT_FALSE(db.GetUsage(0, &none));
}

TEST_F(ScopeTest, NakedEyeParametersAreMendedInMemoryOnly) {
  const std::vector<TScope_data> file = {Scope("n/e", 0, "1x7"), Scope("10x50", 1, "10x50")};
  WriteScopes(file);
  const std::string before = ReadFile(ScopePath());
  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  EXPECT_STREQ(static_cast<TScope_data*>(db.Get(0))->parameters, "1x8");
  EXPECT_EQ(UsageOf(db, 0).hmg, 60);
  EXPECT_FALSE(db.IsDirty());
  ASSERT_EQ(db.Close(), 0);
  EXPECT_EQ(ReadFile(ScopePath()), before);
}

TEST_F(ScopeTest, FileNotStartingWithTheNakedEyeKeepsItsScopes) {
  // The first real scope must never be turned into the naked eye.
  struct Case {
    const char* what;
    std::vector<TScope_data> file;
    std::vector<std::string> names;
  } cases[] = {
      {"naked eye missing", {Scope("10x50", 1, "10x50"), Scope("C8", 5, "200/2000")}, {"n/e", "10x50", "C8"}},
      {"naked eye second",
       {Scope("10x50", 1, "10x50"), Scope("n/e", 0, "1x8"), Scope("C8", 5, "200/2000")},
       {"n/e", "10x50", "C8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteScopes(c.file);
    wxDbScope db;
    ASSERT_EQ(db.Open(), 0);
    EXPECT_EQ(Names(db), c.names);
    EXPECT_STREQ(static_cast<TScope_data*>(db.Get(1))->parameters, "10x50");
    EXPECT_EQ(UsageOf(db, 1).hmg, 110);
    EXPECT_EQ(UsageOf(db, 2).hmg, 140);
    EXPECT_TRUE(db.IsDirty());
    ASSERT_EQ(db.Close(), 0);
    wxDbScope again;
    ASSERT_EQ(again.Open(), 0);
    EXPECT_EQ(Names(again), c.names);
    EXPECT_FALSE(again.IsDirty());
    again.AbandonChanges();
  }
}

// ---------------------------------------------------------------------------
// Limiting magnitude

TEST(ScopeLimit, FromTheParameters) {
  struct Case {
    const char* parameters;
    int hmg;
  } cases[] = {
      {"1x8", 60},        {"10x50", 110},      {"200/1200", 140},   {"80/900", 120},
      {"5/100", 60},      {"9/100", 60},       {"10/100", 75},      {"500/2500", 160},
      {"10x50/100", 75},  // the number before "/" wins over the "x"
      {"200-1200", 0},    {"4/500", 0},        {"1x4", 0},          {"0/1000", 0},
      {"-200/1200", 0},   {"abc/100", 0},      {"10x", 0},          {"x", 0},
      {"", 0},            {"10X50", 0},        {"/200", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wxDbScope::HMGOf(c.parameters, strlen(c.parameters) + 1), c.hmg) << c.parameters;

  // A full field without terminator is read as its 16 bytes, and a huge
  // aperture has a finite limit.
  std::unique_ptr<char[]> field(new char[16]);
  memcpy(field.get(), "999999999999999/", 16);
  EXPECT_EQ(wxDbScope::HMGOf(field.get(), 16), 60 + (int)(50 * 14.30103));
  memcpy(field.get(), "2x50000000000000", 16);
  EXPECT_EQ(wxDbScope::HMGOf(field.get(), 16), 60 + 50 * 13);
}

TEST_F(ScopeTest, HMGOfRecordsAndOutsideThem) {
  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  TScope_data r = Scope("80mm", 2, "80/900");
  ASSERT_EQ(db.Insert(&r), 0);
  EXPECT_EQ(db.HMG(0), 60);
  EXPECT_EQ(db.HMG(1), 120);
  EXPECT_EQ(db.HMG(2), 0);
  EXPECT_EQ(db.HMG(-1), 0);
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Proposals and usage

class ScopeProposal : public ScopeTest {
 protected:
  void SetUp() override {
    ScopeTest::SetUp();
    ASSERT_EQ(db.Open(), 0);
    for (TScope_data s : {Scope("10x50", 1, "10x50"), Scope("200/1200", 3, "200/1200")})
      ASSERT_EQ(db.Insert(&s), 0);
  }
  void TearDown() override {
    db.AbandonChanges();
    db.Close();
    ScopeTest::TearDown();
  }
  wxDbScope db;
};

TEST_F(ScopeProposal, UnusedScopesReachOneMagnitudeShortOfTheirLimit) {
  struct Case {
    int mag;
    const char* scope;
  } cases[] = {
      {95, "10x50"},      {99, "10x50"},       {100, "200/1200"},  {40, "n/e"},   {49, "n/e"},
      {50, "10x50"},      {0, "n/e"},          {129, "200/1200"},  {130, "200/1200"},  // beyond every reach: the largest
      {145, "200/1200"},  {-20, "n/e"},
  };
  for (const Case& c : cases) EXPECT_EQ(Proposal(db, c.mag), c.scope) << c.mag;
}

TEST_F(ScopeProposal, MoreThanFourUsesReachTheFaintestSeen) {
  struct Case {
    const char* what;
    std::vector<int> mags;  // observations with 10x50
    int reach;              // it is proposed for stars below this
  } cases[] = {
      {"four uses: still the limit minus one", {115, 80, 80, 80}, 100},
      {"five uses up to 11.5: its limit", {115, 80, 80, 80, 80}, 110},
      {"five uses up to 9.0: what was seen", {90, 80, 80, 80, 80}, 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(db.Close(), 0);
    ASSERT_EQ(db.Open(), 0);
    for (int m : c.mags) EXPECT_EQ(db.AddUsage("10x50", m), 1);
    EXPECT_EQ(UsageOf(db, 1).uses, (int)c.mags.size());
    EXPECT_EQ(Proposal(db, c.reach - 1), "10x50");
    EXPECT_EQ(Proposal(db, c.reach), "200/1200");
  }
}

TEST_F(ScopeProposal, TiesGoToTheEarlierScope) {
  TScope_data s = Scope("Other 10x50", 9, "10x50");
  ASSERT_EQ(db.Insert(&s), 0);
  EXPECT_EQ(Proposal(db, 95), "10x50");
  s = Scope("Big broken", 3, "5000-20000");
  ASSERT_EQ(db.Insert(&s), 0);
  s = Scope("Second 200", 3, "200/1000");
  ASSERT_EQ(db.Insert(&s), 0);
  EXPECT_EQ(Proposal(db, 200), "200/1200");
}

TEST_F(ScopeProposal, UsageGoesToTheNamedScopeOnly) {
  EXPECT_EQ(db.AddUsage("200/1200", 120), 1);
  EXPECT_EQ(db.AddUsage("200/1200", 95), 1);
  EXPECT_EQ(db.AddUsage("deleted long ago", 150), 0);
  EXPECT_EQ(db.AddUsage("200/120", 150), 0);
  EXPECT_EQ(db.AddUsage("", 150), 0);
  EXPECT_EQ(db.AddUsage(nullptr, 150), 0);
  const TScopeUsage big = UsageOf(db, 2);
  EXPECT_EQ(big.faintest, 120);
  EXPECT_EQ(big.uses, 2);
  EXPECT_EQ(UsageOf(db, 0).uses, 0);
  EXPECT_EQ(UsageOf(db, 1).uses, 0);

  // An observation's scope field of 16 bytes without terminator is read
  // as those 16 bytes and matches no scope, not even one named by its
  // first 15.
  TScope_data s = Scope("200/1200xxxxxxx", 3, "200/1200");
  ASSERT_EQ(db.Insert(&s), 0);
  std::unique_ptr<char[]> field(new char[16]);
  memcpy(field.get(), "200/1200xxxxxxxx", 16);
  EXPECT_EQ(db.AddUsage(field.get(), 100), 0);
  EXPECT_EQ(UsageOf(db, 3).uses, 0);

  // Opening again starts the statistics from nothing.
  ASSERT_EQ(db.Close(), 0);
  ASSERT_EQ(db.Open(), 0);
  EXPECT_EQ(UsageOf(db, 2).uses, 0);
  EXPECT_EQ(UsageOf(db, 2).faintest, -50);
}

TEST_F(ScopeProposal, NothingToProposeWhenClosed) {
  ASSERT_EQ(db.Close(), 0);
  char name[16];
  memset(name, 'z', sizeof name);
  EXPECT_EQ(db.SelectByMg(name, 100), 0);
  EXPECT_EQ(name[0], '\0');
  EXPECT_EQ(db.AddUsage("n/e", 40), 0);
}

// ---------------------------------------------------------------------------
// Editing

TEST_F(ScopeProposal, InsertChangeAndDeleteKeepTheStatisticsWithTheirRecords) {
  TScope_data s = Scope("C8", 5, "200/2000");
  ASSERT_EQ(db.Insert(&s), 0);  // n/e, 10x50, 200/1200, C8
  const TScopeUsage fresh = UsageOf(db, 3);
  EXPECT_EQ(fresh.faintest, 0);
  EXPECT_EQ(fresh.hmg, 140);
  EXPECT_EQ(fresh.uses, 0);
  db.AddUsage("200/1200", 131);
  db.AddUsage("C8", 125);
  db.AddUsage("C8", 118);

  // A change recomputes the limit and keeps what was seen.
  s = Scope("C8", 5, "500/2000");
  ASSERT_EQ(db.Change(&s), 0);
  EXPECT_EQ(UsageOf(db, 3).hmg, 160);
  EXPECT_EQ(UsageOf(db, 3).uses, 2);
  EXPECT_EQ(UsageOf(db, 3).faintest, 125);
  s = Scope("C9", 5, "10/100");
  EXPECT_EQ(db.Change(&s), -1);
  EXPECT_EQ(UsageOf(db, 3).hmg, 160);

  // Deleting the second of four moves the third's and fourth's statistics
  // down with them.
  s = Scope("10x50", 0, "");
  ASSERT_EQ(db.Delete(&s), 0);
  EXPECT_EQ(Names(db), (std::vector<std::string>{"n/e", "200/1200", "C8"}));
  EXPECT_EQ(UsageOf(db, 1).faintest, 131);
  EXPECT_EQ(UsageOf(db, 1).hmg, 140);
  EXPECT_EQ(UsageOf(db, 2).faintest, 125);
  EXPECT_EQ(UsageOf(db, 2).hmg, 160);
  EXPECT_EQ(UsageOf(db, 2).uses, 2);
  TScopeUsage none;
  EXPECT_FALSE(db.GetUsage(3, &none));
  EXPECT_EQ(db.Delete(&s), -1);
  EXPECT_EQ(db.GetCount(), 3);
}

TEST_F(ScopeProposal, StatisticsGrowWithTheRecords) {
  // Far past the first block of records: every new scope has its entry.
  for (int i = 0; i < 40; ++i) {
    char name[16];
    snprintf(name, sizeof name, "scope %d", i);
    TScope_data s = Scope(name, 2, "100/1000");
    ASSERT_EQ(db.Insert(&s), 0);
  }
  EXPECT_EQ(db.GetCount(), 43);
  EXPECT_EQ(db.AddUsage("scope 39", 77), 1);
  EXPECT_EQ(UsageOf(db, 42).faintest, 77);
  EXPECT_EQ(UsageOf(db, 42).hmg, 60 + 65);
}

TEST(ScopeRecord, FillRefusesWhatWouldNotFit) {
  struct Case {
    const char* name;
    const char* parameters;
    int rc;
  } cases[] = {
      {"123456789012345", "10x50", 0},
      {"1234567890123456", "10x50", -1},
      {"C8", "123456789012345", 0},
      {"C8", "1234567890123456", -1},
  };
  for (const Case& c : cases) {
    TScope_data s;
    memset(&s, 'q', sizeof s);
    EXPECT_EQ(wxDbScope::Fill(&s, c.name, 3, c.parameters), c.rc) << c.name << " " << c.parameters;
    if (c.rc == 0) {
      EXPECT_STREQ(s.name, c.name);
      EXPECT_STREQ(s.parameters, c.parameters);
      EXPECT_EQ(s.type, 3);
      EXPECT_EQ(std::string(s.reserved, sizeof s.reserved), std::string(12, '\0'));
    } else {
      EXPECT_EQ(s.name[0], 'q');  // untouched
    }
  }
}

// ---------------------------------------------------------------------------
// The warning about unusable parameters

TEST_F(ScopeTest, UnusableParametersWarnOnOpen) {
  struct Case {
    const char* what;
    const char* autoScope;  // nullptr: not set
    int answer;
    int textId;
    long style;
    wxString autoScopeAfter;
  } cases[] = {
      {"AutoScope not set", nullptr, wxOK, 16602, wxOK | wxICON_EXCLAMATION, "(unset)"},
      {"AutoScope off", "No", wxOK, 16602, wxOK | wxICON_EXCLAMATION, "No"},
      {"AutoScope other than Yes", "yes", wxOK, 16602, wxOK | wxICON_EXCLAMATION, "yes"},
      {"AutoScope on, switched off", "Yes", wxYES, 16603, wxYES_NO | wxICON_EXCLAMATION, "No"},
      {"AutoScope on, kept", "Yes", wxNO, 16603, wxYES_NO | wxICON_EXCLAMATION, "Yes"},
  };
  WriteScopes({Scope("n/e", 0, "1x8"), Scope("10x50", 1, "10x50"), Scope("bad", 3, "200-1200")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    config->DeleteEntry("Features/AutoScope");
    if (c.autoScope) config->Write("Features/AutoScope", c.autoScope);
    prompt.shown.clear();
    prompt.answer = c.answer;
    wxDbScope db;
    ASSERT_EQ(db.Open(), 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, config->GetText(c.textId));
    EXPECT_EQ(prompt.shown[0].caption, "Opening Scope List");
    EXPECT_EQ(prompt.shown[0].style, c.style);
    EXPECT_EQ(config->Read("Features/AutoScope", wxString("(unset)")), c.autoScopeAfter);
    EXPECT_EQ(UsageOf(db, 2).hmg, 0);
    EXPECT_FALSE(db.IsDirty());
  }
}

TEST_F(ScopeTest, UsableParametersOpenWithoutAWord) {
  WriteScopes({Scope("n/e", 0, "whatever"), Scope("10x50", 1, "10x50")});
  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  EXPECT_TRUE(prompt.shown.empty());
  db.AbandonChanges();
}

// ---------------------------------------------------------------------------
// Damaged files

TEST_F(ScopeTest, GarbageTextFieldsNeverRunPastTheirFields) {
  // Names and parameters that fill their fields, bytes of every value,
  // and a trailing part record.
  std::string bytes = kHeader + Bytes(Scope("n/e", 0, "1x8"));
  TScope_data full;
  memset(&full, 'A', sizeof full);
  memcpy(full.parameters, "10x5000000000000", 16);
  bytes += Bytes(full);
  TScope_data noise;
  for (size_t i = 0; i < sizeof noise; ++i) reinterpret_cast<unsigned char*>(&noise)[i] = (unsigned char)(i * 37 + 200);
  bytes += Bytes(noise);
  bytes += std::string(30, 'B');
  WriteTestFile("ABC.scope", bytes);

  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  ASSERT_EQ(db.GetCount(), 3);
  for (int i = 0; i < db.GetCount(); ++i) {
    const TScope_data* s = static_cast<TScope_data*>(db.Get(i));
    EXPECT_LT(strnlen(s->name, sizeof s->name), sizeof s->name) << i;
    EXPECT_LT(strnlen(s->parameters, sizeof s->parameters), sizeof s->parameters) << i;
  }
  EXPECT_EQ(std::string(static_cast<TScope_data*>(db.Get(1))->name), std::string(15, 'A'));
  EXPECT_EQ(std::string(static_cast<TScope_data*>(db.Get(1))->parameters), "10x500000000000");
  EXPECT_EQ(UsageOf(db, 1).hmg, 610);
  EXPECT_EQ(UsageOf(db, 2).hmg, 0);

  // The 15-character name is the one it is known by now.
  EXPECT_EQ(db.AddUsage(std::string(15, 'A').c_str(), 140), 1);
  EXPECT_EQ(db.AddUsage(std::string(16, 'A').c_str(), 140), 0);
  for (int i = 0; i < 5; ++i) db.AddUsage(std::string(15, 'A').c_str(), 140);
  EXPECT_EQ(Proposal(db, 130), std::string(15, 'A'));
  EXPECT_EQ(Proposal(db, 200), std::string(15, 'A'));
  db.AbandonChanges();
}

TEST_F(ScopeTest, RecordsHandedInEndWithinTheirFields) {
  wxDbScope db;
  ASSERT_EQ(db.Open(), 0);
  std::unique_ptr<TScope_data> s(new TScope_data);
  memset(s.get(), 'C', sizeof *s);
  memcpy(s->parameters, "80/9000000000000", 16);
  ASSERT_EQ(db.Insert(s.get()), 0);
  const TScope_data* stored = static_cast<TScope_data*>(db.Get(1));
  EXPECT_EQ(std::string(stored->name), std::string(15, 'C'));
  EXPECT_EQ(std::string(stored->parameters), "80/900000000000");
  EXPECT_EQ(UsageOf(db, 1).hmg, 120);
  // The same record finds it again for a change and a delete.
  memcpy(s->parameters, "200/1200\0", 9);
  ASSERT_EQ(db.Change(s.get()), 0);
  EXPECT_EQ(UsageOf(db, 1).hmg, 140);
  ASSERT_EQ(db.Delete(s.get()), 0);
  EXPECT_EQ(db.GetCount(), 1);
  db.AbandonChanges();
}

TEST_F(ScopeTest, TheGlobalFollowsTheObserver) {
  // Observer XYZ has binoculars; ABC has none yet.
  WriteTestFile("XYZ.scope", kHeader + Bytes(Scope("n/e", 0, "1x8")) + Bytes(Scope("10x50", 1, "10x50")));
  g_observer = "XYZ";
  ASSERT_EQ(g_scope.Open(), 0);
  EXPECT_EQ(g_scope.GetPath(), wxString(TestDir() + "/XYZ.scope"));
  EXPECT_EQ(g_scope.GetCount(), 2);
  EXPECT_EQ(g_scope.GetFileVersion(), 2);
  ASSERT_EQ(g_scope.Close(), 0);
  g_observer = "ABC";
  ASSERT_EQ(g_scope.Open(), 0);
  EXPECT_EQ(g_scope.GetCount(), 1);
  g_scope.AbandonChanges();
  ASSERT_EQ(g_scope.Close(), 0);
  EXPECT_FALSE(pelk_test::FileExists(ScopePath()));
}

}  // namespace
