// The charts the observer owns for each variable star, kept in "chart.db"
// in the program folder: one record per star, its chart names in one field,
// each followed by "|".
#pragma once

#include <cstddef>
#include <cstdint>
#include <wx/arrstr.h>
#include <wx/string.h>

#include "db/Db.h"

// One record of the chart file.
struct TChart_data {
  char star[10];    // the key; a 10-character name fills it without terminator
  char charts[66];  // e.g. "SAB1998|#own sketch|": at most 65 characters, terminated
  int32_t reserved;  // written as 0
};
static_assert(sizeof(TChart_data) == 80, "chart record layout");
static_assert(offsetof(TChart_data, star) == 0, "chart record layout");
static_assert(offsetof(TChart_data, charts) == 10, "chart record layout");
static_assert(offsetof(TChart_data, reserved) == 76, "chart record layout");

class wxDbChart : public wxMemDb {
 public:
  static constexpr int kRecLen = 80;
  static constexpr int kKeyLen = 4;  // the engine's; star names are compared by TestKey
  static constexpr int kStarMax = 10;
  static constexpr int kChartsMax = 65;
  static constexpr char kSeparator = '|';

  // Results of the record helpers below.
  enum {
    CHART_OK = 0,
    CHART_BAD_STAR = -1,       // the star name is empty or has more than 10 characters
    CHART_LIST_TOO_LONG = -2,  // the names with their separators need more than 65
    CHART_BAD_NAME = -3,       // a chart name is empty or holds "|" or a zero byte
    CHART_NO_CHARTS = -4,      // no chart at all: the star's record goes instead
  };

  wxDbChart();

  // Opens "chart.db" in the program folder; the engine's result.
  int Open() override;

  // The star field compared as at most its 10 characters, on both sides:
  // a full-width name has no terminator, and the key may be the star field
  // of a record buffer, followed directly by its chart list.
  int TestKey(int index, const void* key, int mode) const override;

  // The engine's, with every record's chart list ending within its field.
  int Insert(const TChart_data* record);
  int Change(const TChart_data* record);

  // The first record of `star` into `record`: 0, or -1 when there is none
  // (also for a name longer than any star field holds).
  int FindStar(const wxString& star, TChart_data* record) const;

  // --- record helpers ---
  // Sets the star field (and nothing else). CHART_BAD_STAR, leaving the
  // record as it was, for an empty name or one above 10 characters.
  static int SetStar(TChart_data* record, const wxString& star);
  static wxString GetStar(const TChart_data* record);
  // Builds the chart list from `charts` in their order, each followed by
  // "|". A list that would not fit is refused (CHART_LIST_TOO_LONG), never
  // cut; so is a name that would not read back as itself (CHART_BAD_NAME)
  // and an empty list (CHART_NO_CHARTS: a star without charts has no
  // record). The record is left as it was when refused.
  static int SetCharts(TChart_data* record, const wxArrayString& charts);
  // The chart names, split at "|" (nothing after the last one).
  static wxArrayString GetCharts(const TChart_data* record);
  // A whole new record for `star` with `charts`: a CHART_* result, the
  // record untouched when refused.
  static int MakeRecord(TChart_data* record, const wxString& star, const wxArrayString& charts);
};

// The chart table, shared by every observer.
extern wxDbChart g_chart;
