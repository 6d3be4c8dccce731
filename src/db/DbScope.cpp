#include "db/DbScope.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <wx/defs.h>

#include "config/MyConfig.h"
#include "config/UserPrompt.h"
#include "db/Latin1.h"

wxDbScope g_scope;

namespace {

// Text ids of the warning about unusable parameters.
const int kTextBadParameters = 16602;
const int kTextBadParametersAutoScope = 16603;
const int kTextOpeningScopeList = 16604;

// Faintest magnitude of a scope that has not been used since opening.
const int kFaintestAfterOpen = -50;

// A record whose text fields end within their fields, whatever it came
// with: no reader of the table can run past a field.
TScope_data Clean(const TScope_data& scope) {
  TScope_data rec = scope;
  rec.name[sizeof rec.name - 1] = '\0';
  rec.parameters[sizeof rec.parameters - 1] = '\0';
  return rec;
}

TScope_data NakedEye() {
  TScope_data rec;
  memset(&rec, 0, sizeof rec);
  pelk::CopyField(rec.name, sizeof rec.name, wxDbScope::kNakedEye);
  rec.type = 0;
  pelk::CopyField(rec.parameters, sizeof rec.parameters, wxDbScope::kNakedEyeParameters);
  return rec;
}

}  // namespace

wxDbScope::wxDbScope() : wxMemDb(kRecLen, kKeyLen, false) {}

bool wxDbScope::ReserveUsage(int count) {
  if (count <= m_usageCapacity) return true;
  const int capacity = std::max(count, m_usageCapacity + kGrowBy);
  std::unique_ptr<TScopeUsage[]> grown(new (std::nothrow) TScopeUsage[capacity]);
  if (!grown) return false;
  memset(grown.get(), 0, sizeof(TScopeUsage) * (size_t)capacity);
  if (m_usage) memcpy(grown.get(), m_usage.get(), sizeof(TScopeUsage) * (size_t)m_usageCapacity);
  m_usage = std::move(grown);
  m_usageCapacity = capacity;
  return true;
}

void wxDbScope::MoveToFront(int from) {
  if (from <= 0 || from >= m_dbCount) return;
  TScope_data moving;
  memcpy(&moving, Record(from), sizeof moving);
  memmove(Record(1), Record(0), (size_t)from * (size_t)m_reclen);
  memcpy(Record(0), &moving, sizeof moving);
  if (from < m_usageCapacity) {
    TScopeUsage usage = m_usage[from];
    memmove(&m_usage[1], &m_usage[0], sizeof(TScopeUsage) * (size_t)from);
    m_usage[0] = usage;
  }
  m_dirty = true;
}

int wxDbScope::EnsureNakedEyeFirst() {
  // A file that does not begin with the naked eye (a damaged one) must not
  // have its first real scope turned into the naked eye: the naked eye is
  // brought to the front, or put there when it is missing.
  if (m_dbCount == 0 || TestKey(0, kNakedEye, 0) != 0) {
    int at = GetIndex(kNakedEye, 0);
    if (at < 0) {
      const TScope_data eye = NakedEye();
      if (wxMemDb::Insert(&eye) != 0) return -1;
      at = m_dbCount - 1;
    }
    MoveToFront(at);
  }
  // The naked eye's parameters are fixed; an old file may hold others.
  TScope_data* first = static_cast<TScope_data*>(Get(0));
  pelk::CopyField(first->parameters, sizeof first->parameters, kNakedEyeParameters);
  return 0;
}

int wxDbScope::Open() {
  m_usage.reset();
  m_usageCapacity = 0;
  SetDefaultVersion(2);
  const wxString path = config ? config->GetFolder(g_observer + ".scope", FOLDER_DATAPATH) : wxString();
  Setup(path, kRecLen, kKeyLen, false);
  int rc = wxMemDb::Open();

  for (int i = 0; i < m_dbCount; ++i) {
    TScope_data* rec = static_cast<TScope_data*>(Get(i));
    *rec = Clean(*rec);
  }
  if (EnsureNakedEyeFirst() != 0) rc = -1;

  if (!ReserveUsage(std::max(m_capacity, 1))) return -1;
  bool unusable = false;
  for (int i = 0; i < m_dbCount; ++i) {
    m_usage[i].faintest = kFaintestAfterOpen;
    m_usage[i].hmg = HMG(i);
    m_usage[i].uses = 0;
    if (m_usage[i].hmg == 0) unusable = true;
  }

  if (unusable) {
    const bool autoScope = config && config->Read("Features/AutoScope", wxString("No")) == "Yes";
    if (!autoScope) {
      AskUser(kTextBadParameters, kTextOpeningScopeList, wxOK | wxICON_EXCLAMATION);
    } else if (AskUser(kTextBadParametersAutoScope, kTextOpeningScopeList, wxYES_NO | wxICON_EXCLAMATION) ==
               wxYES) {
      config->Write("Features/AutoScope", wxString("No"));
    }
  }
  return rc;
}

int wxDbScope::Close() {
  const int rc = wxMemDb::Close();
  if (rc == 0) {
    m_usage.reset();
    m_usageCapacity = 0;
  }
  return rc;
}

int wxDbScope::Insert(const TScope_data* scope) {
  if (!scope) return -1;
  const TScope_data rec = Clean(*scope);
  if (!ReserveUsage(m_dbCount + 1)) return -1;
  if (wxMemDb::Insert(&rec) != 0) return -1;
  const int i = m_dbCount - 1;
  m_usage[i].faintest = 0;
  m_usage[i].hmg = HMG(i);
  m_usage[i].uses = 0;
  return 0;
}

int wxDbScope::Change(const TScope_data* scope) {
  if (!scope) return -1;
  const TScope_data rec = Clean(*scope);
  const int i = GetIndex(rec.name, 0);
  if (i < 0) return -1;
  const int rc = wxMemDb::Change(&rec);
  if (rc == 0 && i < m_usageCapacity) m_usage[i].hmg = HMG(i);
  return rc;
}

int wxDbScope::Delete(const TScope_data* scope) {
  if (!scope) return -1;
  const TScope_data rec = Clean(*scope);
  const int i = GetIndex(rec.name, 0);
  if (i < 0) return -1;
  // The statistics follow their records down.
  const int entries = std::min(m_dbCount, m_usageCapacity);
  if (i < entries - 1) memmove(&m_usage[i], &m_usage[i + 1], sizeof(TScopeUsage) * (size_t)(entries - i - 1));
  return wxMemDb::Delete(i);
}

int wxDbScope::AddUsage(const char* name, int mag) {
  if (!name) return 0;
  // Scope names in memory end within 16 bytes, so the comparison reads at
  // most 16 bytes of `name`: an unterminated 16-byte field is safe here.
  const int i = GetIndex(name, 0);
  if (i < 0 || i >= m_usageCapacity) return 0;
  m_usage[i].faintest = std::max(m_usage[i].faintest, mag);
  ++m_usage[i].uses;
  return 1;
}

int wxDbScope::SelectByMg(char* name, int mag) const {
  if (!name) return 0;
  const int n = std::min(m_dbCount, m_usageCapacity);
  // The smallest scope known (more than four uses) or expected (one
  // magnitude short of its limit) to reach beyond the star.
  int best = -1;
  int bestReach = 0;
  for (int i = 0; i < n; ++i) {
    const TScopeUsage& u = m_usage[i];
    const int reach = u.uses > 4 ? std::min(u.faintest, u.hmg) : u.hmg - 10;
    if (reach > mag && (best < 0 || reach < bestReach)) {
      best = i;
      bestReach = reach;
    }
  }
  // Beyond every reach: the largest scope there is.
  if (best < 0) {
    for (int i = 0; i < n; ++i) {
      if (m_usage[i].hmg > 0 && (best < 0 || m_usage[i].hmg > m_usage[best].hmg)) best = i;
    }
  }
  if (best < 0) {
    name[0] = '\0';
    return 0;
  }
  const TScope_data* rec = reinterpret_cast<const TScope_data*>(Record(best));
  pelk::CopyField(name, sizeof rec->name, rec->name);
  return 1;
}

int wxDbScope::HMGOf(const char* parameters, size_t size) {
  const wxString text = pelk::FromLatin1(parameters, size);
  long aperture = 0;
  const size_t slash = text.find('/');
  if (slash != wxString::npos) {
    aperture = pelk::DecimalValue(text.substr(0, slash));
  } else {
    const size_t x = text.find('x');
    if (x == wxString::npos) return 0;
    aperture = pelk::DecimalValue(text.substr(x + 1));
  }
  // Below 5 mm the formula has no value (the logarithm of 0 or of a
  // negative number): such parameters are unusable.
  const long q = aperture / 5;
  if (q < 1) return 0;
  return 60 + (int)std::trunc(50.0 * std::log10((double)q));
}

int wxDbScope::HMG(int index) const {
  if (index < 0 || index >= m_dbCount) return 0;
  const TScope_data* rec = reinterpret_cast<const TScope_data*>(Record(index));
  return HMGOf(rec->parameters, sizeof rec->parameters);
}

bool wxDbScope::GetUsage(int index, TScopeUsage* usage) const {
  if (!usage || index < 0 || index >= std::min(m_dbCount, m_usageCapacity)) return false;
  *usage = m_usage[index];
  return true;
}

int wxDbScope::Fill(TScope_data* scope, const wxString& name, int type, const wxString& parameters) {
  if (!scope) return -1;
  if (pelk::ToLatin1(name).size() > (size_t)kNameMax || pelk::ToLatin1(parameters).size() > (size_t)kParametersMax)
    return -1;
  memset(scope, 0, sizeof *scope);
  pelk::CopyField(scope->name, sizeof scope->name, name);
  scope->type = type;
  pelk::CopyField(scope->parameters, sizeof scope->parameters, parameters);
  return 0;
}
