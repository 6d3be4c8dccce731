#include "db/Archives.h"

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/log.h>

#include "astro/AstroTime.h"
#include "config/MyConfig.h"
#include "db/DbObs.h"

namespace pelk {

namespace {

// Makes `code` the current observer for one conversion and puts the old
// one back.
class ObserverScope {
 public:
  explicit ObserverScope(const wxString& code) : m_old(g_observer) { g_observer = code; }
  ~ObserverScope() { g_observer = m_old; }

 private:
  wxString m_old;
};

int LocalYear(double jd) {
  wxAstroTime t;
  t.SetDateTimeJD(jd);
  int y, m, d, h, mi, s;
  t.GetDateTimeLocal(&y, &m, &d, &h, &mi, &s);
  return y;
}

}  // namespace

std::vector<int> YearlyArchiveYears(const wxString& folder, const wxString& code) {
  std::vector<int> years;
  if (!wxDir::Exists(folder)) return years;
  wxLogNull quiet;
  wxDir dir(folder);
  if (!dir.IsOpened()) return years;
  wxString file;
  for (bool more = dir.GetFirst(&file, code + "????.arch", wxDIR_FILES | wxDIR_HIDDEN); more;
       more = dir.GetNext(&file)) {
    long year = 0;
    wxString digits = file.Mid(code.length(), 4);
    if (digits.ToLong(&year, 10) && year > 0) years.push_back((int)year);
  }
  return years;
}

int SplitArchiveByYear(const wxString& code) {
  ObserverScope observer(code);
  wxDbObs single;
  if (single.Open(true, 0) != 0) {
    single.AbandonChanges();
    return -1;
  }
  const int count = single.GetCount();
  double first = 0, last = 0;
  for (int i = 0; i < count; ++i) {
    const TObs_data* obs = static_cast<const TObs_data*>(single.Get(i));
    if (i == 0 || obs->jd < first) first = obs->jd;
    if (i == 0 || obs->jd > last) last = obs->jd;
  }
  bool ok = true;
  if (count > 0) {
    for (int year = LocalYear(first); year <= LocalYear(last); ++year) {
      const double from = wxAstroTime::DateTime2JD(year, 1, 1, 0, 0, 0, true, nullptr);
      const double to = wxAstroTime::DateTime2JD(year + 1, 1, 1, 0, 0, 0, true, nullptr);
      // Every estimate of the year, whatever its star: one missing from the
      // star table must not be left behind when the single file goes.
      wxDbObs yearly;
      bool opened = false;
      for (int i = 0; i < count; ++i) {
        TObs_data obs = *static_cast<const TObs_data*>(single.Get(i));
        if (obs.jd < from || obs.jd >= to) continue;
        if (!opened) {
          if (yearly.Open(true, year) != 0) {
            ok = false;
            break;
          }
          opened = true;
        }
        if (yearly.Insert(&obs) < 0) ok = false;
      }
      if (opened && yearly.Close() != 0) {
        ok = false;
        yearly.AbandonChanges();
      }
    }
  }
  const wxString path = single.GetPath();
  single.AbandonChanges();
  single.Close();
  if (!ok) return -1;
  if (wxFileExists(path) && !wxRemoveFile(path)) return -1;
  return 0;
}

int JoinYearlyArchives(const wxString& code) {
  ObserverScope observer(code);
  const wxString folder = config->GetFolder(wxString(), FOLDER_DATAPATH);
  const std::vector<int> years = YearlyArchiveYears(folder, code);
  wxDbObs single;
  if (single.Open(true, 0) != 0) {
    single.AbandonChanges();
    return -1;
  }
  bool ok = true;
  std::vector<wxString> merged;
  for (int year : years) {
    wxDbObs yearly;
    if (yearly.Open(true, year) != 0 || single.Merge(yearly, 0, 0) != 0) {
      ok = false;
    } else {
      merged.push_back(yearly.GetPath());
    }
    yearly.AbandonChanges();
    yearly.Close();
  }
  // Saved even when no yearly file was there: the single file then exists
  // (empty), as the archive of an observer who archived nothing.
  if (single.Save(true) != 0) {
    single.AbandonChanges();
    single.Close();
    return -1;
  }
  single.AbandonChanges();
  single.Close();
  for (const wxString& path : merged)
    if (!wxRemoveFile(path)) ok = false;
  return ok ? 0 : -1;
}

}  // namespace pelk
