// The variable star table "stars.db": every star an observation may name,
// with its Harvard designation, variability type and the class letter that
// says where it came from. It is built from the published validation files
// and extended by hand, and all observers share it.
#pragma once

#include <cstddef>
#include <wx/string.h>

#include "db/Db.h"
#include "db/NameIndex.h"

// One star, 37 bytes. Text fields are zero-terminated and padded; a name
// that fills its field has no terminator and is read as 12 characters.
struct TStar_data {
  char name[12];     // e.g. R LEO; the key
  char harvard[12];  // e.g. 0942+11, optionally with a trailing letter
  char type[12];     // e.g. M, SR, EA:, UGSS+ZZ; "?" when unknown
  char cls;          // 'F' AAVSO file, 'E' eclipsing programme, 'U' added by hand
};
static_assert(sizeof(TStar_data) == 37, "star record layout");
static_assert(offsetof(TStar_data, harvard) == 12, "star record layout");
static_assert(offsetof(TStar_data, type) == 24, "star record layout");
static_assert(offsetof(TStar_data, cls) == 36, "star record layout");

// The 88 constellation abbreviations, three upper-case letters each with no
// separator, in the order of the Latin names.
extern const char ConstellNames[];
enum { CONSTELL_COUNT = 88 };
// The variability type names offered in the pick lists, in their order.
extern const char* const varType[];
enum { VARTYPE_COUNT = 102 };

class wxDbStars : public wxMemDb {
 public:
  wxDbStars();

  // Opens the file the path names.
  int Open() override;
  // Opens "stars.db" in the program folder (the argument is not used).
  int Open(const wxString& name);
  int Close() override;

  // Replaces the records by the stars of a validation text file, each with
  // the class letter `kind`, and points the path at the program folder's
  // "stars.db". 0 when the file was read (even without a star); -1 when
  // `path` is empty or the file cannot be read: the table is then left as
  // it was.
  int OpenText(const wxString& path, char kind);
  // Merges the stars of `source` whose class letter is in `classes`: a
  // star missing here is appended; one present is given the source's
  // designation, type and class when `replace` is not 0. Returns the
  // number of such source stars, or -1 when memory ran out part of the way
  // (what was merged so far stays).
  int Merge(wxDbStars& source, const char* classes, int replace);

  // The engine's lookups and changes, by name. A name is compared as at
  // most 12 characters; exact lookups go through a hash index of the
  // names, so they take the same time however big the table, and of two
  // equal names the first still wins. Records are changed through these
  // (or OpenText and Merge), never by writing a name in place through a
  // pointer from Get or Seek.
  int TestKey(int index, const void* key, int mode) const override;
  int GetIndex(const void* key, int mode) const;
  void* Seek(const void* key, int mode);
  int Find(void* buffer, int mode) const;
  int Insert(const void* record);
  int Change(const void* record);
  int Delete(const void* key);
  int Delete(int index);


 private:
  // Brings the name index up to date with the records; false when it
  // cannot be built (lookups then walk the table).
  bool IndexReady() const;

  mutable pelk::NameIndex m_names;
};

extern wxDbStars g_stars;

// The loading of the published validation files into g_stars.
enum {
  VALIDATION_LOADED = 0,
  VALIDATION_CANNOT_OPEN = -1,  // the file could not be read; nothing changed
  VALIDATION_NOT_SAVED = -2     // the new table could not be built or written
};
// An AAVSO validation file decides the designation and type of every star
// it lists; every other star of the table survives. `count` receives the
// figure shown to the user: the stars read from the file less the F, E and
// U stars the table held before, never below 0. After VALIDATION_NOT_SAVED
// the table is the one that was on disk before.
int LoadAavsoValidation(const wxString& path, int* count);
// The eclipsing programme's list: its stars join the table as class E,
// replacing the data of stars already there. `count` receives the number
// of stars read. After VALIDATION_NOT_SAVED the merged table stays in
// memory, unsaved.
int LoadEclipsingValidation(const wxString& path, int* count);
// A correction file in the AAVSO format ("vallong_diff.txt"): merged like
// the eclipsing list, but as class F.
int LoadValidationCorrection(const wxString& path, int* count);
