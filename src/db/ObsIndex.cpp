#include "db/ObsIndex.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "astro/AstroTime.h"
#include "db/DbStars.h"
#include "db/Latin1.h"

namespace {

const size_t kNameWidth = sizeof(TObs_data::variable);
const size_t kFieldWidth = sizeof(TObsIndex_data::harvard);
const char kMissingHarvard[] = "9999+99";
const char kMissingType[] = "?";
const char kMissingClass = 'U';

// ---------------------------------------------------------------------------
// Date ranges

// A JD the calendar arithmetic can take.
bool UsableJd(double jd) { return std::isfinite(jd) && jd > 0 && jd < 1e8; }

double LocalNoon(int year, int month, int day) {
  wxAstroTime t;
  t.SetDateTimeLocal(year, month, day, 12, 0, 0);
  double jd = 0;
  t.GetDateTimeJD(&jd);
  return jd;
}

void PreviousMonth(int& year, int& month) {
  if (--month < 1) month = 12, --year;
}

void NextMonth(int& year, int& month) {
  if (++month > 12) month = 1, ++year;
}

// ---------------------------------------------------------------------------
// Filters

class Filter {
 public:
  explicit Filter(const char* text) {
    if (!text) text = "%FUE";
    if (text[0] == '%') {
      m_kind = kClasses;
      m_text = text + 1;
    } else if (text[0] == '\0') {
      m_kind = kAll;
    } else if (text[0] == '=') {
      m_kind = kName;
      m_text = text + 1;
    } else {
      m_kind = kTypes;
      if (text[0] == '~') m_invert = true, ++text;
      for (const char* p = text;;) {
        const char* end = strchr(p, ';');
        m_items.emplace_back(p, end ? (size_t)(end - p) : strlen(p));
        if (!end) break;
        p = end + 1;
      }
    }
  }

  bool Accepts(const char* variable, const char* type, char cls) const {
    switch (m_kind) {
      case kClasses: return cls != '\0' && m_text.find(cls) != std::string::npos;
      case kAll: return true;
      case kName:
        return strnlen(variable, kNameWidth) == m_text.size() && memcmp(variable, m_text.data(), m_text.size()) == 0;
      case kTypes: break;
    }
    // EA: and EA+DSCT both stand for EA.
    std::string stem(type, strnlen(type, kFieldWidth));
    size_t cut = stem.find(':');
    if (cut == std::string::npos) cut = stem.find('+');
    if (cut != std::string::npos) stem.erase(cut);
    bool match = false;
    if (!stem.empty())
      for (const std::string& item : m_items)
        if (item == stem) match = true;
    return match != m_invert;
  }

 private:
  enum Kind { kClasses, kAll, kName, kTypes };
  Kind m_kind = kAll;
  bool m_invert = false;
  std::string m_text;
  std::vector<std::string> m_items;
};

// ---------------------------------------------------------------------------
// Sorting

// A JD that is no number sorts after every other.
int CompareJd(double a, double b) {
  const bool na = std::isnan(a), nb = std::isnan(b);
  if (na || nb) return (int)na - (int)nb;
  return a < b ? -1 : a > b ? 1 : 0;
}

// The fields are zero-padded: comparing all their bytes is comparing the
// strings.
bool ByHarvard(const TObsIndex_data& a, const TObsIndex_data& b) {
  if (int c = memcmp(a.harvard, b.harvard, kFieldWidth)) return c < 0;
  if (int c = CompareJd(a.jd, b.jd)) return c < 0;
  return a.record < b.record;
}

// Constellation (the last three characters of the name), then the rest of
// the name, then JD; zero-padded so that byte comparison is string order.
struct ConstellationKey {
  char constellation[4];
  char rest[kNameWidth];
  double jd;
  int record;
  int entry;
};

ConstellationKey MakeKey(const TObs_data& obs, const TObsIndex_data& e, int entry) {
  ConstellationKey k;
  memset(&k, 0, sizeof k);
  const size_t len = strnlen(obs.variable, kNameWidth);
  const size_t cut = len >= 3 ? len - 3 : 0;
  memcpy(k.constellation, obs.variable + cut, len - cut);
  memcpy(k.rest, obs.variable, cut);
  k.jd = e.jd;
  k.record = e.record;
  k.entry = entry;
  return k;
}

bool ByConstellation(const ConstellationKey& a, const ConstellationKey& b) {
  if (int c = memcmp(a.constellation, b.constellation, sizeof a.constellation)) return c < 0;
  if (int c = memcmp(a.rest, b.rest, sizeof a.rest)) return c < 0;
  if (int c = CompareJd(a.jd, b.jd)) return c < 0;
  return a.record < b.record;
}

}  // namespace

wxDbObsIndex::wxDbObsIndex() = default;

wxDbObsIndex::~wxDbObsIndex() { Close(); }

void wxDbObsIndex::Close() {
  m_entries.reset();
  m_type[0] = m_harvard[0] = '\0';
  m_lastRecord = -1;
  m_lastEntry = -1;
  m_from = m_to = 0;
  m_db = nullptr;
  m_cursor = m_dbCount = m_count = 0;
}

int wxDbObsIndex::GetDateRange(wxDbObs* db, int kind, double& from, double& to) {
  return GetDateRange(db, kind, from, to, wxAstroTime());
}

int wxDbObsIndex::GetDateRange(wxDbObs* db, int kind, double& from, double& to, const wxAstroTime& now) {
  wxAstroTime t = now;
  if (kind == RANGE_LAST_NIGHT) {
    bool any = false;
    double last = 0;
    TObs_data obs;
    for (int i = 0; db && db->Get(i, &obs) == 1; ++i)
      if (UsableJd(obs.jd) && (!any || obs.jd > last)) last = obs.jd, any = true;
    if (any) t.SetDateTimeJD(last);
    kind = RANGE_NIGHT_OF;
  } else if ((kind == RANGE_MONTH_OF || kind == RANGE_NIGHT_OF) && UsableJd(from)) {
    t.SetDateTimeJD(from);
  }
  int y, m, d, h, mi, s;
  t.GetDateTimeLocal(&y, &m, &d, &h, &mi, &s);

  // The morning of the first still belongs to the month before.
  if ((kind == RANGE_THIS_MONTH || kind == RANGE_LAST_MONTH) && d == 1 && h < 12) PreviousMonth(y, m);
  switch (kind) {
    case RANGE_THIS_MONTH:
    case RANGE_MONTH_OF: {
      from = LocalNoon(y, m, 1);
      NextMonth(y, m);
      to = LocalNoon(y, m, 1);
      break;
    }
    case RANGE_LAST_MONTH: {
      to = LocalNoon(y, m, 1);
      PreviousMonth(y, m);
      from = LocalNoon(y, m, 1);
      break;
    }
    case RANGE_THIS_YEAR:
      from = LocalNoon(y, 1, 1);
      to = LocalNoon(y + 1, 1, 1);
      break;
    case RANGE_LAST_YEAR:
      from = LocalNoon(y - 1, 1, 1);
      to = LocalNoon(y, 1, 1);
      break;
    case RANGE_NIGHT_OF: {
      // A night belongs to the date of its evening.
      if (h <= 11) wxAstroTime::jd2ymd(wxAstroTime::DayNumber(y, m, d) - 1, &y, &m, &d);
      from = LocalNoon(y, m, d);
      to = from + 1;
      break;
    }
    default:
      from = to = 0;
      break;
  }
  return 1;
}

int wxDbObsIndex::Create(wxDbObs* db, double from, double to, const char* filter, int sort) {
  Close();
  if (!db) return 0;
  const int records = db->GetCount();
  if (records > 0) {
    m_entries.reset(new (std::nothrow) TObsIndex_data[(size_t)records]);
    if (!m_entries) return 0;
  }
  const Filter accept(filter);
  int count = 0;
  for (int i = 0; i < records; ++i) {
    const TObs_data* obs = static_cast<const TObs_data*>(db->Get(i));
    if (from != 0 && !(obs->jd >= from)) continue;
    if (to != 0 && !(obs->jd < to)) continue;
    const char* harvard = kMissingHarvard;
    const char* type = kMissingType;
    char cls = kMissingClass;
    const int at = g_stars.GetIndex(obs->variable, 0);
    if (at >= 0) {
      const TStar_data* star = static_cast<const TStar_data*>(g_stars.Get(at));
      harvard = star->harvard;
      type = star->type;
      cls = star->cls;
    }
    // The entry is filled first: the filter reads the type as the entry
    // holds it.
    TObsIndex_data& e = m_entries[count];
    e.record = i;
    pelk::CopyField(e.harvard, sizeof e.harvard, harvard);
    pelk::CopyField(e.type, sizeof e.type, type);
    e.jd = obs->jd;
    if (accept.Accepts(obs->variable, e.type, cls)) ++count;
  }
  m_count = count;
  m_dbCount = records;
  m_from = from;
  m_to = to;
  m_db = db;

  if (sort == 1) {
    std::sort(m_entries.get(), m_entries.get() + count, ByHarvard);
  } else if (sort == 2 && count > 1) {
    // The names are read once each, not at every comparison.
    std::unique_ptr<ConstellationKey[]> keys(new (std::nothrow) ConstellationKey[(size_t)count]);
    std::unique_ptr<TObsIndex_data[]> sorted(new (std::nothrow) TObsIndex_data[(size_t)count]);
    if (!keys || !sorted) {
      Close();
      return 0;
    }
    for (int i = 0; i < count; ++i)
      keys[i] = MakeKey(*static_cast<const TObs_data*>(db->Get(m_entries[i].record)), m_entries[i], i);
    std::sort(keys.get(), keys.get() + count, ByConstellation);
    for (int i = 0; i < count; ++i) sorted[i] = m_entries[keys[i].entry];
    m_entries = std::move(sorted);
  }
  return 1;
}

int wxDbObsIndex::Get(int i, TObs_data* obs) {
  if (!obs || !m_db || i < 0 || i >= m_count) return -1;
  const TObsIndex_data& e = m_entries[i];
  if (e.record < 0 || m_db->Get(e.record, obs) != 1) return -1;
  memcpy(m_harvard, e.harvard, sizeof m_harvard);
  memcpy(m_type, e.type, sizeof m_type);
  return 0;
}

int wxDbObsIndex::Scan(int next, TObs_data* obs) {
  if (next == 0) m_cursor = 0;
  while (m_cursor < m_count) {
    const int at = m_cursor++;
    if (Get(at, obs) != 0) continue;
    m_lastEntry = at;
    m_lastRecord = m_entries[at].record;
    return 0;
  }
  return -1;
}

int wxDbObsIndex::Delete(int i) {
  if (i == -1) i = m_lastEntry;
  if (!m_db || i < 0 || i >= m_count) return -1;
  const int gone = m_entries[i].record;
  if (gone < 0) return 0;
  if (m_db->Delete(gone) != 0) return -1;
  m_entries[i].record = -1;
  for (int k = 0; k < m_count; ++k)
    if (m_entries[k].record > gone) --m_entries[k].record;
  if (m_lastRecord == gone)
    m_lastRecord = -1;
  else if (m_lastRecord > gone)
    --m_lastRecord;
  --m_dbCount;
  return 0;
}
