// A selection over an observation database: the estimates of a date range
// whose star passes a filter, optionally sorted, each with its star's
// Harvard designation and variability type from the star table. The
// browser, the statistics, the reports and the archiving work through it.
#pragma once

#include <wx/arrstr.h>

#include "db/DbObs.h"
#include "db/PodBuffer.h"

class wxAstroTime;

// One selected estimate.
struct TObsIndex_data {
  int record;        // position in the database; -1 once deleted
  char harvard[12];  // from the star table, "9999+99" when the star is not there
  char type[12];     // from the star table, "?" when the star is not there
  double jd;
};

// The kinds of GetDateRange, in the order of their list.
enum {
  RANGE_LAST_NIGHT = 0,
  RANGE_THIS_MONTH = 1,
  RANGE_LAST_MONTH = 2,
  RANGE_THIS_YEAR = 3,
  RANGE_LAST_YEAR = 4,
  RANGE_ALL = 5,
  RANGE_MONTH_OF = 6,  // the month of the JD passed in `from`
  RANGE_NIGHT_OF = 7   // the night of the JD passed in `from`
};

class wxDbObsIndex {
 public:
  wxDbObsIndex();
  virtual ~wxDbObsIndex();
  wxDbObsIndex(const wxDbObsIndex&) = delete;
  wxDbObsIndex& operator=(const wxDbObsIndex&) = delete;

  // Drops the entries; counts and bounds go back to 0.
  void Close();

  // A JD range of `kind` (see the enum). Every bound is local noon, so that
  // one observing night never falls into two ranges; 0 and 0 is no bound.
  // Kind 0 on a database without estimates gives the present night; a
  // kind that is not listed gives no bounds. Returns 1.
  static int GetDateRange(wxDbObs* db, int kind, double& from, double& to);
  // The same with `now` as the present moment.
  static int GetDateRange(wxDbObs* db, int kind, double& from, double& to, const wxAstroTime& now);

  // Selects the estimates with from <= JD < to (a bound of 0 is no bound)
  // that pass `filter`, and sorts them by `sort` (0 stored order, 1
  // Harvard designation, 2 constellation then name; JD next). The filter
  // is "%" and class letters; "=" and a star name; empty for all; or a
  // list of type names separated by ";", inverted by a leading "~". A null
  // filter takes every class. 1, or 0 when memory runs out (the index is
  // then empty).
  int Create(wxDbObs* db, double from, double to, const char* filter, int sort);

  // Like the database's Scan, over the entries: with next 0 from the first
  // one. 0 with the estimate in `obs`, or -1 after the last. Deleted
  // entries are passed over.
  int Scan(int next, TObs_data* obs);
  // Copies the estimate of entry `i` and makes its designation and type
  // current. 0, or -1 when there is no such entry or it was deleted.
  int Get(int i, TObs_data* obs);
  // Deletes the estimate of entry `i` (-1: the entry Scan returned last)
  // from the database; the other entries keep pointing at their records.
  // 0 (also for an entry already deleted), or -1 when there is no entry.
  int Delete(int i);

  // The figures of the selection: observations, inner-sanctum
  // observations, fainter-than observations, stars, and the instruments.
  // `units` 2 describes apertures in centimetres with the national short
  // type names, anything else in inches with the English ones.
  wxArrayString Statistics(int units);

  int GetCount() const { return m_count; }
  // Designation and type of the entry read last.
  const char* GetHarvard() const { return m_harvard; }
  const char* GetVarType() const { return m_type; }
  // Record position of the entry Scan returned last (-1 before any).
  int GetRecordIndex() const { return m_lastRecord; }
  double GetFrom() const { return m_from; }
  double GetTo() const { return m_to; }
  wxDbObs* GetDb() const { return m_db; }
  const TObsIndex_data* GetEntry(int i) const { return i >= 0 && i < m_count ? &m_entries[i] : nullptr; }

 private:
  char m_type[12] = "";
  char m_harvard[12] = "";
  int m_lastRecord = -1;
  double m_from = 0;
  double m_to = 0;
  wxDbObs* m_db = nullptr;
  pelk::PodBuffer<TObsIndex_data> m_entries;  // m_count of them in use
  int m_cursor = 0;
  int m_dbCount = 0;
  int m_count = 0;
  int m_lastEntry = -1;  // entry Scan returned last
};
