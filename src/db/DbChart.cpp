#include "db/DbChart.h"

#include <cstring>
#include <string>

#include "config/MyConfig.h"
#include "db/Latin1.h"

wxDbChart g_chart;

namespace {

int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// The record as it goes into the table: its chart list ends within the
// field whatever the caller left there, and the spare field is 0.
TChart_data Clean(const TChart_data& record) {
  TChart_data rec = record;
  rec.charts[sizeof rec.charts - 1] = '\0';
  rec.reserved = 0;
  return rec;
}

}  // namespace

wxDbChart::wxDbChart() : wxMemDb(kRecLen, kKeyLen, false) {}

int wxDbChart::Open() {
  const wxString path = config ? config->GetFolder("chart.db", FOLDER_PROGRAM) : wxString();
  Setup(path, kRecLen, kKeyLen, false);
  const int rc = wxMemDb::Open();
  // A damaged file may lack the terminator of a chart list: every list in
  // memory ends within its field, so no reader can run past it.
  for (int i = 0; i < m_dbCount; ++i) {
    TChart_data* rec = static_cast<TChart_data*>(Get(i));
    rec->charts[sizeof rec->charts - 1] = '\0';
  }
  return rc;
}

int wxDbChart::TestKey(int index, const void* key, int mode) const {
  if (!key || index < 0 || index >= m_dbCount) return -1;
  const unsigned char* rec = reinterpret_cast<const unsigned char*>(Record(index));
  const unsigned char* k = static_cast<const unsigned char*>(key);
  if (mode == 1) {
    for (int i = 0; i < kStarMax; ++i) {
      const int b = LowerAscii(k[i]);
      if (b == 0) return 0;
      const int a = LowerAscii(rec[i]);
      if (a != b) return a - b;
    }
    return 0;
  }
  for (int i = 0; i < kStarMax; ++i) {
    if (rec[i] != k[i]) return (int)rec[i] - (int)k[i];
    if (rec[i] == 0) return 0;
  }
  return 0;
}

int wxDbChart::Insert(const TChart_data* record) {
  if (!record) return -1;
  const TChart_data rec = Clean(*record);
  return wxMemDb::Insert(&rec);
}

int wxDbChart::Change(const TChart_data* record) {
  if (!record) return -1;
  const TChart_data rec = Clean(*record);
  return wxMemDb::Change(&rec);
}

int wxDbChart::FindStar(const wxString& star, TChart_data* record) const {
  if (!record) return -1;
  TChart_data key;
  memset(&key, 0, sizeof key);
  if (SetStar(&key, star) != CHART_OK) return -1;
  const int i = GetIndex(&key, 0);
  if (i < 0) return -1;
  return Get(i, record) == 1 ? 0 : -1;
}

int wxDbChart::SetStar(TChart_data* record, const wxString& star) {
  if (!record) return CHART_BAD_STAR;
  const std::string bytes = pelk::ToLatin1(star);
  if (bytes.empty() || bytes.size() > (size_t)kStarMax || bytes.find('\0') != std::string::npos)
    return CHART_BAD_STAR;
  pelk::CopyField(record->star, sizeof record->star, bytes.c_str(), false);
  return CHART_OK;
}

wxString wxDbChart::GetStar(const TChart_data* record) {
  return record ? pelk::FromLatin1(record->star, sizeof record->star) : wxString();
}

int wxDbChart::SetCharts(TChart_data* record, const wxArrayString& charts) {
  if (!record) return CHART_BAD_NAME;
  if (charts.empty()) return CHART_NO_CHARTS;
  std::string field;
  for (const wxString& chart : charts) {
    const std::string bytes = pelk::ToLatin1(chart);
    // A "|" would split the name in two on reading; a zero byte would end
    // the whole list there.
    if (bytes.empty() || bytes.find(kSeparator) != std::string::npos || bytes.find('\0') != std::string::npos)
      return CHART_BAD_NAME;
    field += bytes;
    field += kSeparator;
  }
  if (field.size() > (size_t)kChartsMax) return CHART_LIST_TOO_LONG;
  pelk::CopyField(record->charts, sizeof record->charts, field.c_str());
  return CHART_OK;
}

wxArrayString wxDbChart::GetCharts(const TChart_data* record) {
  if (!record) return wxArrayString();
  return wxMyConfig::SplitList(pelk::FromLatin1(record->charts, sizeof record->charts));
}

int wxDbChart::MakeRecord(TChart_data* record, const wxString& star, const wxArrayString& charts) {
  if (!record) return CHART_BAD_STAR;
  TChart_data rec;
  memset(&rec, 0, sizeof rec);
  int rc = SetStar(&rec, star);
  if (rc == CHART_OK) rc = SetCharts(&rec, charts);
  if (rc == CHART_OK) *record = rec;
  return rc;
}
