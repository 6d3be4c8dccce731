// What a selection of estimates amounts to: the figures the browser shows
// and the monthly report prints in its header.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "config/MyConfig.h"
#include "db/DbScope.h"
#include "db/Latin1.h"
#include "db/ObsIndex.h"

namespace {

// Text ids of the scope type list and of its short names.
const int kScopeTypes = 16562;
const int kShortNamesEnglish = 16630;
const int kShortNamesNational = 16631;

std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// Inner-sanctum estimates: stars of 13.8 or fainter, or "fainter than"
// 14.0 or fainter.
bool InnerSanctum(const std::string& magnitude) {
  const bool fainter = !magnitude.empty() && magnitude[0] == '<';
  const int whole = pelk::DigitsAt(magnitude.data(), magnitude.size(), {1, 2});
  const int decimal = pelk::DigitsAt(magnitude.data(), magnitude.size(), {4});
  if (fainter) return whole > 13;
  return whole > 13 || (whole == 13 && decimal > 7);
}

wxArrayString List(int id) { return config ? config->GetList(id) : wxArrayString(); }

// "10x50B", "3\" refr." or "8L": the instrument as the figures describe it;
// empty when it is not in the scope list or its parameters do not fit its
// type.
wxString Describe(const std::string& name, int units) {
  TScope_data scope;
  memset(&scope, 0, sizeof scope);
  memcpy(scope.name, name.data(), std::min(name.size(), sizeof scope.name));
  if (g_scope.Find(&scope, 0) != 0) return wxString();
  const wxArrayString types = List(kScopeTypes);
  size_t pos = 0;
  while (pos < types.size() && !(types[pos].length() >= 3 && pelk::DecimalValue(types[pos].Left(2)) == scope.type))
    ++pos;
  if (pos == types.size()) return wxString();
  const wxUniChar separator = types[pos][2];
  const wxString parameters = pelk::FromLatin1(scope.parameters, sizeof scope.parameters);
  const int at = parameters.Find(separator);
  if (at == wxNOT_FOUND) return wxString();
  wxString text;
  if (separator == 'x') {
    text = parameters;
  } else {
    const long aperture = pelk::DecimalValue(parameters.Left((size_t)at));
    if (units == 2)
      text = wxString::Format("%ld", (aperture + 5) / 10);
    else
      text = wxString::Format("%ld\" ", (10 * aperture + 127) / 254);
  }
  const wxArrayString shortNames = List(units == 2 ? kShortNamesNational : kShortNamesEnglish);
  if (pos < shortNames.size()) text += shortNames[pos];
  return text;
}

}  // namespace

wxArrayString wxDbObsIndex::Statistics(int units) {
  int total = 0, inner = 0, fainter = 0;
  std::unordered_set<std::string> stars;
  std::unordered_set<std::string> seenScopes;
  std::vector<std::string> scopes;  // in order of first use
  TObs_data obs;
  for (int rc = Scan(0, &obs); rc == 0; rc = Scan(1, &obs)) {
    ++total;
    std::string magnitude = FieldText(obs.magnitude, sizeof obs.magnitude);
    while (!magnitude.empty() && magnitude.back() == ' ') magnitude.pop_back();
    if (!magnitude.empty() && magnitude[0] == '<') ++fainter;
    if (InnerSanctum(magnitude)) ++inner;
    stars.insert(FieldText(obs.variable, sizeof obs.variable));
    const std::string scope = FieldText(obs.scope, sizeof obs.scope);
    if (scope != "n/e" && seenScopes.insert(scope).second) scopes.push_back(scope);
  }
  wxString instruments;
  for (const std::string& scope : scopes) {
    const wxString text = Describe(scope, units);
    if (text.empty()) continue;
    if (!instruments.empty()) instruments += ", ";
    instruments += text;
  }
  if (instruments.empty()) instruments = "n/e";

  wxArrayString figures;
  figures.Add(wxString::Format("%d", total));
  figures.Add(wxString::Format("%d", inner));
  figures.Add(wxString::Format("%d", fainter));
  figures.Add(wxString::Format("%d", (int)stars.size()));
  figures.Add(instruments);
  return figures;
}
