// A record file of arbitrary bytes is opened as each kind of database and
// then used as the program uses it. The first input byte chooses the kind
// (observations, stars, scopes, charts), the second the options of the
// observation index (filter, sort, range, units); the rest is the file.
#include <cstring>

#include "FuzzSupport.h"
#include "astro/AstroTime.h"
#include "config/MyConfig.h"
#include "db/DbChart.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"
#include "db/ObsIndex.h"

namespace {

// Once: a star table in memory and a scope file of the observer, so that
// an index finds designations and the statistics describe instruments.
void SetupObservations() {
  static bool done = false;
  if (done) return;
  done = true;
  using pelk_fuzz::Star;
  const TStar_data stars[] = {Star("R LEO", "0942+11", "M", 'F'), Star("SS CYG", "2138+43", "UGSS", 'F'),
                              Star("AB AND", "2308+36", "EW", 'E'), Star("X", "0000+00", "EA+DSCT", 'U'),
                              Star("ABCDEFGHIJKL", "9999+99a", "EA:", 'F')};
  for (const TStar_data& s : stars) g_stars.Insert(&s);
  g_stars.AbandonChanges();

  g_scope.Open();
  struct {
    const char* name;
    int type;
    const char* parameters;
  } scopes[] = {{"10x50", 1, "10x50"}, {"C8", 4, "203/2032"}, {"refr", 2, "80/900"}, {"bad", 3, "x"}};
  TScope_data rec;
  for (const auto& s : scopes)
    if (wxDbScope::Fill(&rec, s.name, s.type, s.parameters) != 0 || g_scope.Insert(&rec) != 0)
      pelk_fuzz::Fail("a scope could not be set up");
  if (g_scope.Close() != 0) pelk_fuzz::Fail("the scope file could not be written");
}

const char* const kFilters[] = {nullptr, "%FU", "%E", "%FUE", "", "=R LEO", "EA;M;UGSS", "~EA;SR"};

void Observations(uint8_t options, const uint8_t* data, size_t size) {
  SetupObservations();
  pelk_fuzz::WriteFile("FUZ.obs", data, size);
  g_scope.Open();
  g_obs.Open(false, 0);

  // The range: none, the last night, or the month of the first estimate.
  double from = 0, to = 0;
  wxAstroTime now;
  now.SetDateTimeJD(2461000.25);
  const int range = (options >> 5) & 3;
  if (range == 1) wxDbObsIndex::GetDateRange(&g_obs, RANGE_LAST_NIGHT, from, to, now);
  if (range == 2 && g_obs.GetCount() > 0) {
    from = static_cast<const TObs_data*>(g_obs.Get(0))->jd;
    wxDbObsIndex::GetDateRange(&g_obs, RANGE_MONTH_OF, from, to, now);
  }
  wxDbObsIndex index;
  if (index.Create(&g_obs, from, to, kFilters[options & 7], (options >> 3) & 3) != 1)
    pelk_fuzz::Fail("an index could not be built");
  TObs_data obs;
  int scanned = 0;
  for (int rc = index.Scan(0, &obs); rc == 0; rc = index.Scan(1, &obs)) ++scanned;
  if (scanned != index.GetCount()) pelk_fuzz::Fail("the index scan missed entries");
  index.Statistics(options & 0x80 ? 2 : 1);
  // The browser deletes through the index.
  if (index.GetCount() > 0) {
    index.Delete(index.GetCount() / 2);
    for (int rc = index.Scan(0, &obs); rc == 0; rc = index.Scan(1, &obs)) {
    }
  }

  char name[12] = "r";
  g_obs.FindStar(name);
  if (g_obs.NewKey() <= 0) pelk_fuzz::Fail("a new observation number below 1");
  wxDbObs archive;
  archive.Merge(g_obs, from, to);
  archive.AbandonChanges();

  g_obs.AbandonChanges();
  g_obs.Close();
  g_scope.AbandonChanges();
  g_scope.Close();
}

void Stars(const uint8_t* data, size_t size) {
  pelk_fuzz::WriteFile("stars.db", data, size);
  wxDbStars db;
  db.Open(wxString());
  const int n = db.GetCount();
  for (int i = 0; i < n && i < 64; ++i) {
    TStar_data s;
    db.Get(i, &s);
    int first = 0;
    while (db.TestKey(first, s.name, 0) != 0) ++first;
    if (db.GetIndex(s.name, 0) != first) pelk_fuzz::Fail("the name index and the table disagree");
  }
  db.Seek("r", 1);
  const TStar_data added = pelk_fuzz::Star("NEW STAR", "1234+56", "M", 'U');
  db.Insert(&added);
  if (db.GetIndex(added.name, 0) < 0) pelk_fuzz::Fail("an inserted star cannot be found");
  db.Delete(0);
  db.AbandonChanges();
}

void Scopes(const uint8_t* data, size_t size) {
  const wxString observer = g_observer;
  g_observer = "SCP";
  pelk_fuzz::WriteFile("SCP.scope", data, size);
  wxDbScope db;
  db.Open();
  if (db.GetCount() < 1 || db.TestKey(0, wxDbScope::kNakedEye, 0) != 0) pelk_fuzz::Fail("the naked eye is not first");
  TScopeUsage usage;
  for (int i = 0; i < db.GetCount(); ++i) {
    const TScope_data* rec = static_cast<const TScope_data*>(db.Get(i));
    db.AddUsage(rec->name, 95);
    db.GetUsage(i, &usage);
  }
  char name[16];
  for (int mag : {-100, 0, 60, 120, 180, 100000}) db.SelectByMg(name, mag);
  TScope_data rec;
  if (wxDbScope::Fill(&rec, "NEW", 3, "150/750") == 0) {
    db.Insert(&rec);
    db.Change(&rec);
  }
  if (db.GetCount() > 1) db.Delete(static_cast<const TScope_data*>(db.Get(1)));
  db.AbandonChanges();
  db.Close();
  g_observer = observer;
}

void Charts(const uint8_t* data, size_t size) {
  pelk_fuzz::WriteFile("chart.db", data, size);
  wxDbChart db;
  db.Open();
  TChart_data rec;
  for (int i = 0; i < db.GetCount() && i < 64; ++i) {
    const TChart_data* stored = static_cast<const TChart_data*>(db.Get(i));
    const wxString star = wxDbChart::GetStar(stored);
    const wxArrayString charts = wxDbChart::GetCharts(stored);
    TChart_data key;
    memset(&key, 0, sizeof key);
    if (wxDbChart::SetStar(&key, star) == wxDbChart::CHART_OK && db.FindStar(star, &rec) != 0)
      pelk_fuzz::Fail("a stored star cannot be found");
    if (wxDbChart::MakeRecord(&rec, star, charts) == wxDbChart::CHART_OK) db.Insert(&rec);
  }
  db.AbandonChanges();
  db.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelk_fuzz::Setup();
  if (size < 2) return 0;
  const uint8_t kind = data[0], options = data[1];
  data += 2;
  size -= 2;
  switch (kind & 3) {
    case 0: Observations(options, data, size); break;
    case 1: Stars(data, size); break;
    case 2: Scopes(data, size); break;
    case 3: Charts(data, size); break;
  }
  return 0;
}
