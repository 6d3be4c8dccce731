// The observer's estimates: the observation file and the archives, one
// fixed-size record per visual estimate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <wx/string.h>

#include "db/Db.h"

// One estimate, 120 bytes. Text fields are zero-terminated and padded;
// bytes after the terminator mean nothing.
struct TObs_data {
  int32_t number;      // observation number, the key; unique in its file
  char variable[12];   // star name as in the star table, at most 11 characters
  double jd;           // the instant of the estimate, JD in UT
  char reserved[4];    // unused
  char magnitude[8];   // e.g. "  9.8 " or "<12.5:" (see MagnitudeTenths)
  char colour[8];      // photometric band; empty for a visual estimate
  char scope[16];      // the instrument: a scope name, "n/e" for the naked eye
  char chart[8];       // chart name, at most 7 characters; may be empty
  char compStars[16];  // comparison stars
  char remarks[4];     // up to four remark letters; terminated only when fewer
  char comment[32];    // at most 31 characters
};
static_assert(sizeof(TObs_data) == 120, "observation record layout");
static_assert(offsetof(TObs_data, variable) == 4, "observation record layout");
static_assert(offsetof(TObs_data, jd) == 16, "observation record layout");
static_assert(offsetof(TObs_data, reserved) == 24, "observation record layout");
static_assert(offsetof(TObs_data, magnitude) == 28, "observation record layout");
static_assert(offsetof(TObs_data, colour) == 36, "observation record layout");
static_assert(offsetof(TObs_data, scope) == 44, "observation record layout");
static_assert(offsetof(TObs_data, chart) == 60, "observation record layout");
static_assert(offsetof(TObs_data, compStars) == 68, "observation record layout");
static_assert(offsetof(TObs_data, remarks) == 84, "observation record layout");
static_assert(offsetof(TObs_data, comment) == 88, "observation record layout");

namespace pelk {
// The characters of `text` (`length` of them) at the given positions, read
// as one decimal number with leading blanks allowed; 0 when there is none.
int DigitsAt(const char* text, size_t length, std::initializer_list<size_t> positions);
// The magnitude of a stored magnitude text in tenths: its characters 1, 2
// and 4 (from 0) read as one decimal number, so 98 for "  9.8 " and 125 for
// "<12.5:" or " 12.50". Only characters before the terminator count; 0 when
// there is no number.
int MagnitudeTenths(const char* magnitude, size_t size);
}  // namespace pelk

class wxDbObs : public wxMemDb {
 public:
  wxDbObs();

  // Opens the current observer's observation file, or with `archive` set
  // the single archive (year 0) or the archive of `year`, in the data
  // folder. The scope database must be open: every estimate read is
  // counted in its scope's use. -1 when the records cannot be loaded.
  int Open(bool archive, int year);
  // Opens the file the path names (as above, without a new path).
  int Open() override;
  // Writes what changed and lets the records go; a closed database views
  // neither the observations nor an archive.
  int Close() override;

  // Numbers the estimate with NewKey, appends it and counts its scope's
  // use. The new number, or -1 when the block cannot grow.
  int Insert(TObs_data* obs);
  // 1 + the largest observation number held (1 for an empty file).
  int NewKey() const;
  // Completes a star name from the observer's own estimates: the first
  // whose star begins with `name` regardless of case gives its full name,
  // written over `name` (room for 12 bytes). 0, or -1 when none does.
  int FindStar(char* name) const;
  // Whether the current observer has archived estimates.
  static bool HasArchive();
  // Inserts (newly numbered) every estimate of `source` with from <= JD <
  // to; a bound of 0 is no bound. 0, or -1 when the block could not grow
  // (what was inserted so far stays).
  int Merge(wxDbObs& source, double from, double to);

  bool IsArchive() const { return m_archive; }
  int GetArchiveYear() const { return m_archiveYear; }

 private:
  // Appends `obs` numbered `key` and counts its scope's use.
  int Append(TObs_data* obs, int key);
  // The largest observation number held, counting from 0.
  int LargestKey() const;

  int m_archiveYear = 0;
  bool m_archive = false;
};

extern wxDbObs g_obs;
