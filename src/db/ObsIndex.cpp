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
#include "db/NameIndex.h"
#include "db/PodBuffer.h"

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
// Stars of the selection

// What an index needs of one star name: an observation file names the
// same stars over and over, so each name is looked up and judged once.
struct TNameGroup {
  char name[kNameWidth];  // first, as the name index reads it
  char harvard[kFieldWidth];
  char type[kFieldWidth];
  char cls;
  bool accepted;
  int rank;  // place of the group in the sort order
};

// A JD that is no number sorts after every other.
int CompareJd(double a, double b) {
  const bool na = std::isnan(a), nb = std::isnan(b);
  if (na || nb) return (int)na - (int)nb;
  return a < b ? -1 : a > b ? 1 : 0;
}

bool ByJd(const TObsIndex_data& a, const TObsIndex_data& b) {
  if (int c = CompareJd(a.jd, b.jd)) return c < 0;
  return a.record < b.record;
}

// Sort 2 orders by the constellation (the last three characters of the
// name), then the rest of the name. Zero-padded, so that comparing all
// the bytes compares the strings.
struct ConstellationKey {
  char constellation[4];
  char rest[kNameWidth];
};

ConstellationKey KeyOf(const char* name) {
  ConstellationKey k;
  memset(&k, 0, sizeof k);
  const size_t len = strnlen(name, kNameWidth);
  const size_t cut = len >= 3 ? len - 3 : 0;
  memcpy(k.constellation, name + cut, len - cut);
  memcpy(k.rest, name, cut);
  return k;
}

// Ranks the groups in the order of `sort`; groups that sort equal share a
// rank. Returns the number of ranks, or -1 when memory runs out.
int RankGroups(pelk::PodBuffer<TNameGroup>& groups, int sort) {
  const size_t n = groups.Count();
  std::unique_ptr<int[]> order(new (std::nothrow) int[n]);
  std::unique_ptr<ConstellationKey[]> keys(sort == 2 ? new (std::nothrow) ConstellationKey[n] : nullptr);
  if (!order || (sort == 2 && !keys)) return -1;
  for (size_t i = 0; i < n; ++i) order[i] = (int)i;
  if (sort == 2) {
    for (size_t i = 0; i < n; ++i) keys[i] = KeyOf(groups[i].name);
    auto less = [&](int a, int b) { return memcmp(&keys[a], &keys[b], sizeof(ConstellationKey)) < 0; };
    std::sort(order.get(), order.get() + n, less);
  } else {
    auto less = [&](int a, int b) { return memcmp(groups[a].harvard, groups[b].harvard, kFieldWidth) < 0; };
    std::sort(order.get(), order.get() + n, less);
  }
  int rank = -1;
  for (size_t i = 0; i < n; ++i) {
    const TNameGroup& g = groups[order[i]];
    const bool same = i > 0 && (sort == 2 ? memcmp(&keys[order[i]], &keys[order[i - 1]], sizeof(ConstellationKey))
                                          : memcmp(g.harvard, groups[order[i - 1]].harvard, kFieldWidth)) == 0;
    if (!same) ++rank;
    groups[order[i]].rank = rank;
  }
  return rank + 1;
}

}  // namespace

wxDbObsIndex::wxDbObsIndex() = default;

wxDbObsIndex::~wxDbObsIndex() { Close(); }

void wxDbObsIndex::Close() {
  m_entries.Clear();
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
  std::unique_ptr<int[]> groupOf;
  if (records > 0) {
    const bool room = m_entries.Reserve((size_t)records);
    if (sort == 1 || sort == 2) groupOf.reset(new (std::nothrow) int[(size_t)records]);
    if (!room || ((sort == 1 || sort == 2) && !groupOf)) {
      Close();
      return 0;
    }
  }
  const Filter accept(filter);
  pelk::PodBuffer<TNameGroup> groups;
  pelk::NameIndex byName(kNameWidth);
  byName.Build(nullptr, 0, sizeof(TNameGroup));
  int count = 0;
  for (int i = 0; i < records; ++i) {
    const TObs_data* obs = static_cast<const TObs_data*>(db->Get(i));
    if (from != 0 && !(obs->jd >= from)) continue;
    if (to != 0 && !(obs->jd < to)) continue;
    int g = byName.Find(reinterpret_cast<const char*>(groups.Data()), sizeof(TNameGroup), obs->variable);
    if (g < 0) {
      // A name not met before: its star, and whether the filter takes it.
      TNameGroup group;
      memset(&group, 0, sizeof group);
      memcpy(group.name, obs->variable, kNameWidth);
      const char* harvard = kMissingHarvard;
      const char* type = kMissingType;
      group.cls = kMissingClass;
      const int at = g_stars.GetIndex(obs->variable, 0);
      if (at >= 0) {
        const TStar_data* star = static_cast<const TStar_data*>(g_stars.Get(at));
        harvard = star->harvard;
        type = star->type;
        group.cls = star->cls;
      }
      pelk::CopyField(group.harvard, sizeof group.harvard, harvard);
      pelk::CopyField(group.type, sizeof group.type, type);
      group.accepted = accept.Accepts(obs->variable, group.type, group.cls);
      g = (int)groups.Count();
      if (!groups.Add(group) ||
          !byName.Appended(reinterpret_cast<const char*>(groups.Data()), g + 1, sizeof(TNameGroup), g)) {
        Close();
        return 0;
      }
    }
    const TNameGroup& group = groups[(size_t)g];
    if (!group.accepted) continue;
    TObsIndex_data& e = m_entries[count];
    e.record = i;
    memcpy(e.harvard, group.harvard, sizeof e.harvard);
    memcpy(e.type, group.type, sizeof e.type);
    e.jd = obs->jd;
    if (groupOf) groupOf[count] = g;
    ++count;
  }
  m_count = count;
  m_dbCount = records;
  m_from = from;
  m_to = to;
  m_db = db;
  if ((sort != 1 && sort != 2) || count < 2) return 1;

  // The groups are put in order, the entries dealt out by the rank of
  // their group (keeping stored order), and each rank sorted by JD: the
  // names are compared once per group, not once per comparison.
  const int ranks = RankGroups(groups, sort);
  std::unique_ptr<int[]> start(ranks < 0 ? nullptr : new (std::nothrow) int[(size_t)ranks + 1]);
  pelk::PodBuffer<TObsIndex_data> sorted;
  if (!start || !sorted.Reserve((size_t)count)) {
    Close();
    return 0;
  }
  std::fill(start.get(), start.get() + ranks + 1, 0);
  for (int i = 0; i < count; ++i) ++start[groups[(size_t)groupOf[i]].rank + 1];
  for (int r = 0; r < ranks; ++r) start[r + 1] += start[r];
  for (int i = 0; i < count; ++i) sorted[(size_t)start[groups[(size_t)groupOf[i]].rank]++] = m_entries[(size_t)i];
  // start[r] is now where rank r ends.
  for (int r = 0, begin = 0; r < ranks; begin = start[r++])
    std::sort(sorted.Data() + begin, sorted.Data() + start[r], ByJd);
  m_entries.Swap(sorted);
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
