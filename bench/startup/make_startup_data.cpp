// Writes what the start-up measure runs on: a configuration with one
// observer, a small validation table in the program folder and 10,000 of
// the observer's estimates in the data folder.
//
//   make_startup_data HOME PROGRAM-FOLDER DATA-FOLDER
#include <cstdio>
#include <cstring>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include "config/MyConfig.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: %s HOME PROGRAM-FOLDER DATA-FOLDER\n", argv[0]);
    return 2;
  }
  wxInitializer init;
  wxLog::EnableLogging(false);
  wxSetEnv("HOME", argv[1]);
  config = new wxMyConfig("Pelk");
  config->SetFolder(argv[2], FOLDER_PROGRAM);
  wxString data = argv[3];
  if (!data.EndsWith("/")) data += "/";
  config->Write("Directories/DataPath", data);
  config->Write("Directories/Report", data);
  config->Write("Users", "ABC");
  config->Write("User/ABC/Longitude", "E19.1");
  config->Write("LanguageFile", "English (default)");
  g_observer = "ABC";

  const char* names[] = {"R LEO", "S LEO", "T LEO", "R CYG", "CH CYG", "SS CYG", "U GEM", "Z CAM", "R CRB", "T CRB"};
  wxDbStars stars;
  stars.Open(wxString());
  for (int i = 0; i < 200; ++i) {
    TStar_data s;
    memset(&s, 0, sizeof s);
    snprintf(s.name, sizeof s.name, "%s%s", names[i % 10], i < 10 ? "" : "X");
    if (i >= 10) snprintf(s.name, sizeof s.name, "V%03d CYG", i);
    snprintf(s.harvard, sizeof s.harvard, "%06d", 100000 + i * 37);
    strcpy(s.type, i % 3 ? "M" : "UGSS");
    s.cls = 'F';
    stars.Insert(&s);
  }
  if (stars.Close() != 0) return 1;

  g_scope.Open();
  if (g_scope.Close() != 0) return 1;
  wxDbObs obs;
  obs.Open(false, 0);
  for (int i = 0; i < 10000; ++i) {
    TObs_data o;
    memset(&o, 0, sizeof o);
    strcpy(o.variable, names[i % 10]);
    o.jd = 2455000.5 + i * 0.37;
    snprintf(o.magnitude, sizeof o.magnitude, " %2d.%d ", 6 + i % 8, i % 10);
    strcpy(o.scope, "n/e");
    obs.Insert(&o);
  }
  if (obs.Close() != 0) return 1;
  delete config;  // writes HOME/.pelk
  return 0;
}
