// The observer's instruments: the scope file with its naked-eye record, the
// limiting magnitude of each scope, what the observer has seen with it, and
// the scope proposed for a star of a given magnitude.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <wx/string.h>

#include "db/Db.h"

// One scope record of the file.
struct TScope_data {
  char name[16];        // at most 15 characters; the key; "n/e" is the naked eye
  int32_t type;         // number in the scope type list (1 to 9); 0 for the naked eye
  char reserved[12];    // unused; zero in the naked-eye record
  char parameters[16];  // "diameter/focal length" or "magnification x diameter" in mm
};
static_assert(sizeof(TScope_data) == 48, "scope record layout");
static_assert(offsetof(TScope_data, name) == 0, "scope record layout");
static_assert(offsetof(TScope_data, type) == 16, "scope record layout");
static_assert(offsetof(TScope_data, reserved) == 20, "scope record layout");
static_assert(offsetof(TScope_data, parameters) == 32, "scope record layout");

// What is known of one scope besides its record; kept in memory only, one
// entry per record and in the same order.
struct TScopeUsage {
  int faintest;  // faintest magnitude seen with it, in tenths
  int hmg;       // limiting magnitude in tenths; 0: unusable parameters
  int uses;      // observations made with it
};

class wxDbScope : public wxMemDb {
 public:
  static constexpr int kRecLen = 48;
  static constexpr int kKeyLen = 16;
  // Longest name and parameters text a record holds.
  static constexpr int kNameMax = 15;
  static constexpr int kParametersMax = 15;
  // The naked eye: always present, always first.
  static constexpr const char* kNakedEye = "n/e";
  static constexpr const char* kNakedEyeParameters = "1x8";

  wxDbScope();

  // Opens the current observer's scope file (observer code + ".scope" in
  // the data folder), puts the naked eye first when it is missing, builds
  // the usage statistics and warns when some scope has unusable parameters
  // (the answer may switch "Features/AutoScope" off). -1 when the records
  // or the statistics could not be loaded, else 0.
  int Open() override;
  // Saves when changed and drops the records and the statistics; -1 when
  // the save failed (everything then stays loaded).
  int Close() override;

  // Appends a scope with fresh statistics. -1 when memory runs out.
  int Insert(const TScope_data* scope);
  // Replaces the scope of the same name and recomputes its limit; its use
  // statistics stay. -1 when no scope has the name.
  int Change(const TScope_data* scope);
  // Deletes the scope of that name with its statistics. -1 when none has it.
  int Delete(const TScope_data* scope);

  // One observation made with scope `name` (at most 16 bytes of it are
  // read) at magnitude `mag` in tenths. 1, or 0 when no scope has the name.
  int AddUsage(const char* name, int mag);
  // Writes the scope proposed for a star of magnitude `mag` (tenths) into
  // `name`, which has room for 16 bytes. 1; 0 with an empty name when
  // there is no scope at all to propose.
  int SelectByMg(char* name, int mag) const;
  // Limiting magnitude in tenths of record `index`; 0 for unusable
  // parameters or no such record.
  int HMG(int index) const;
  // The same from a parameters text of at most `size` bytes.
  static int HMGOf(const char* parameters, size_t size);

  // Statistics of record `index`: true and a copy in `usage`, or false
  // when there is no such record.
  bool GetUsage(int index, TScopeUsage* usage) const;

  // Fills a record from the scope dialog's values; -1, leaving the record
  // as it was, when the name or the parameters would not fit.
  static int Fill(TScope_data* scope, const wxString& name, int type, const wxString& parameters);

 private:
  // Room for at least `count` usage entries; false when memory runs out.
  bool ReserveUsage(int count);
  // Moves record `from` to the front, and its statistics with it.
  void MoveToFront(int from);
  // The naked-eye record first, as every scope file must have it.
  int EnsureNakedEyeFirst();

  std::unique_ptr<TScopeUsage[]> m_usage;
  int m_usageCapacity = 0;
};

// The scopes of the current observer.
extern wxDbScope g_scope;
