#include "db/DbObs.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>
#include <wx/dir.h>

#include "config/MyConfig.h"
#include "db/DbScope.h"
#include "db/Latin1.h"

wxDbObs g_obs;

namespace {

int LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

bool YearlyArchives() { return config && config->Read("Features/YearlyArchive", "No") == "Yes"; }

wxString DataFile(const wxString& name) { return config ? config->GetFolder(name, FOLDER_DATAPATH) : name; }

// Counts the estimate in its scope's use: the scope proposal learns from
// what the observer has actually seen with each instrument.
void CountUse(const TObs_data& obs) {
  const int tenths = pelk::MagnitudeTenths(obs.magnitude, sizeof obs.magnitude);
  if (tenths > 0) g_scope.AddUsage(obs.scope, tenths);
}

}  // namespace

namespace pelk {

int DigitsAt(const char* text, size_t length, std::initializer_list<size_t> positions) {
  int value = 0;
  bool digits = false;
  for (size_t pos : positions) {
    if (pos >= length) break;
    const char c = text[pos];
    if (c == ' ' && !digits) continue;
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    digits = true;
  }
  return value;
}

int MagnitudeTenths(const char* magnitude, size_t size) {
  if (!magnitude) return 0;
  return DigitsAt(magnitude, strnlen(magnitude, size), {1, 2, 4});
}

}  // namespace pelk

wxDbObs::wxDbObs() : wxMemDb(sizeof(TObs_data), sizeof(int32_t), true) {}

int wxDbObs::Open(bool archive, int year) {
  SetDefaultVersion(2);
  m_archive = archive;
  m_archiveYear = archive ? year : 0;
  wxString name = g_observer;
  if (archive && year != 0) name += wxString::Format("%04d", year);
  name += archive ? ".arch" : ".obs";
  Setup(DataFile(name), 0, 0, true);
  return Open();
}

int wxDbObs::Open() {
  if (wxMemDb::Open() != 0) return -1;
  TObs_data obs;
  for (int i = 0; Get(i, &obs) == 1; ++i) CountUse(obs);
  return 0;
}

int wxDbObs::LargestKey() const {
  int largest = 0;
  TObs_data obs;
  for (int i = 0; Get(i, &obs) == 1; ++i) largest = std::max(largest, (int)obs.number);
  return largest;
}

int wxDbObs::NewKey() const {
  const int largest = LargestKey();
  if (largest < INT_MAX) return largest + 1;
  // No number is larger: take the smallest one that is free, so that the
  // numbers stay unique.
  TObs_data obs;
  std::vector<int> used;
  used.reserve((size_t)m_dbCount);
  for (int i = 0; Get(i, &obs) == 1; ++i)
    if (obs.number > 0) used.push_back(obs.number);
  std::sort(used.begin(), used.end());
  int free = 1;
  for (int n : used) {
    if (n > free) break;
    if (n == free) ++free;
  }
  return free;
}

int wxDbObs::Append(TObs_data* obs, int key) {
  obs->number = key;
  if (wxMemDb::Insert(obs) != 0) return -1;
  CountUse(*obs);
  return key;
}

int wxDbObs::Insert(TObs_data* obs) {
  if (!obs) return -1;
  return Append(obs, NewKey());
}

int wxDbObs::FindStar(char* name) const {
  if (!name) return -1;
  const size_t width = sizeof(TObs_data::variable);
  const size_t keyLen = strnlen(name, width);
  TObs_data obs;
  for (int i = 0; Get(i, &obs) == 1; ++i) {
    size_t k = 0;
    while (k < keyLen && LowerAscii((unsigned char)obs.variable[k]) == LowerAscii((unsigned char)name[k])) ++k;
    if (k < keyLen) continue;
    pelk::CopyField(name, width, obs.variable);
    return 0;
  }
  return -1;
}

bool wxDbObs::HasArchive() {
  const wxString folder = DataFile(wxString());
  if (!wxDir::Exists(folder)) return false;
  if (!YearlyArchives()) return wxFileExists(DataFile(g_observer + ".arch"));
  wxDir dir(folder);
  wxString found;
  return dir.IsOpened() && dir.GetFirst(&found, g_observer + "????.arch", wxDIR_FILES | wxDIR_HIDDEN);
}

int wxDbObs::Merge(wxDbObs& source, double from, double to) {
  // Fixed before the loop: merging a file into itself copies it once.
  const int count = source.GetCount();
  // Each inserted estimate becomes the largest number: no need to look
  // for it again each time.
  int largest = LargestKey();
  TObs_data obs;
  for (int i = 0; i < count && source.Get(i, &obs) == 1; ++i) {
    if (from != 0 && !(obs.jd >= from)) continue;
    if (to != 0 && !(obs.jd < to)) continue;
    const int key = largest < INT_MAX ? ++largest : NewKey();
    if (Append(&obs, key) < 0) return -1;
  }
  return 0;
}

int wxDbObs::Close() {
  const int rc = wxMemDb::Close();
  if (rc == 0) {
    m_archive = false;
    m_archiveYear = 0;
  }
  return rc;
}
