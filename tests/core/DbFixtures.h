// Shared pieces of the database tests: a configuration store whose program
// and data folders are the test's own folder, validation-file lines, and
// star and observation records built field by field.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "TempHome.h"
#include "config/MyConfig.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"
#include "db/Latin1.h"

namespace pelk_test {

// The configuration store for one test, with the test's folder as program
// and data folder; it writes nothing. The global star, observation and
// scope databases are emptied before and after, so no test sees another's
// records; the observer is ABC.
struct DbTestSetup {
  DbTestSetup() {
    config->Write("Directories/DataPath", wxString(TestDir()) + "/");
    ResetDatabases();
    g_observer = "ABC";
  }
  ~DbTestSetup() {
    ResetDatabases();
    g_observer.clear();
  }
  static void ResetDatabases() {
    g_stars.AbandonChanges();
    g_stars.Close();
    g_stars.Setup(wxString(), 0, 0, false);
    g_obs.AbandonChanges();
    g_obs.Close();
    g_obs.Setup(wxString(), 0, 0, true);
    g_scope.AbandonChanges();
    g_scope.Close();
  }
  ScopedConfig store;
};

inline std::string Pad(const std::string& s, size_t width) {
  std::string out = s.substr(0, width);
  out.resize(width, ' ');
  return out;
}

// A star line: designation in columns 1-10, name in 11-20, two blanks, and
// the type in 23-32 (the line is 32 characters long when a type is given,
// else 20).
inline std::string StarLine(const std::string& harvard, const std::string& name, const std::string& type = "") {
  std::string line = Pad(harvard, 10) + Pad(name, 10);
  if (!type.empty()) line += "  " + Pad(type, 10);
  return line;
}

inline TStar_data Star(const char* name, const char* harvard, const char* type, char cls) {
  TStar_data s;
  memset(&s, 0, sizeof s);
  pelk::CopyField(s.name, sizeof s.name, name);
  pelk::CopyField(s.harvard, sizeof s.harvard, harvard);
  pelk::CopyField(s.type, sizeof s.type, type);
  s.cls = cls;
  return s;
}

inline TObs_data Obs(const char* variable, double jd, const char* magnitude = "  9.8 ", const char* scope = "n/e") {
  TObs_data o;
  memset(&o, 0, sizeof o);
  pelk::CopyField(o.variable, sizeof o.variable, variable);
  o.jd = jd;
  pelk::CopyField(o.magnitude, sizeof o.magnitude, magnitude);
  pelk::CopyField(o.scope, sizeof o.scope, scope);
  return o;
}

// One estimate of each star named, at `jd`.
inline void InsertNamed(wxDbObs& db, std::initializer_list<const char*> names, double jd = 2451545.0) {
  for (const char* name : names) {
    TObs_data o = Obs(name, jd);
    ASSERT_GT(db.Insert(&o), 0);
  }
}

// One estimate at each JD, of a star named "S" and the JD ("S100").
inline void InsertDays(wxDbObs& db, std::initializer_list<double> jds) {
  for (double jd : jds) {
    TObs_data o = Obs(("S" + std::to_string((int)jd)).c_str(), jd);
    ASSERT_GT(db.Insert(&o), 0);
  }
}

inline std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// "name|harvard|type|class" of every star, in stored order.
inline std::vector<std::string> Stars(wxDbStars& db) {
  std::vector<std::string> out;
  TStar_data s;
  for (int i = 0; db.Get(i, &s) == 1; ++i)
    out.push_back(Field(s.name, sizeof s.name) + "|" + Field(s.harvard, sizeof s.harvard) + "|" +
                  Field(s.type, sizeof s.type) + "|" + std::string(1, s.cls));
  return out;
}

}  // namespace pelk_test
