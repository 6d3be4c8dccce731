#include "config/MyConfig.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/utils.h>

#include "db/AtomicFile.h"
#include "db/Latin1.h"

wxMyConfig* config = nullptr;
wxString g_observer;

namespace {

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  out = ss.str();
  return true;
}

// A configuration file that is not text of groups, entries and comments is
// garbage: it is read as if it were missing, so that no stray line turns
// into a setting, and it stays on disk until the program ends normally.
bool LooksLikeConfiguration(const std::string& data) {
  if (data.find('\0') != std::string::npos) return false;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = data.size();
    size_t b = pos;
    while (b < end && (data[b] == ' ' || data[b] == '\t')) ++b;
    if (b < end) {
      char c = data[b];
      bool ok = c == ';' || c == '#' ||
                (c == '[' && data.find(']', b) < end) ||
                (c != '[' && data.find('=', b) < end);
      if (!ok) return false;
    }
    pos = end + 1;
  }
  return true;
}

// The text of the configuration file as the toolkit's parser gets it.
// Built while the store is constructed; its parse warnings (a duplicated
// entry, say) must not turn into message boxes.
class ConfigSource {
 public:
  explicit ConfigSource(const wxString& path) : m_logWas(wxLog::EnableLogging(false)) {
    if (!ReadWholeFile(std::string(path.fn_str()), m_data) || !LooksLikeConfiguration(m_data))
      m_data.clear();
    m_in.reset(new wxMemoryInputStream(m_data.data(), m_data.size()));
  }
  ~ConfigSource() { wxLog::EnableLogging(m_logWas); }
  wxInputStream& Stream() { return *m_in; }

 private:
  bool m_logWas;
  std::string m_data;
  std::unique_ptr<wxMemoryInputStream> m_in;
};

wxString HomeConfigPath() {
  wxString home = wxGetHomeDir();
  if (!home.EndsWith("/")) home += "/";
  return home + ".pelk";
}

}  // namespace

wxMyConfig::wxMyConfig(const wxString& appName)
    : wxFileConfig(ConfigSource(HomeConfigPath()).Stream()), m_localPath(HomeConfigPath()) {
  SetAppName(appName);
  SetVendorName("Krod");
  // The toolkit's own flush deletes the old file before renaming the new
  // one; this store writes only through SaveFile.
  DisableAutoSave();
  ResetLanguage();
}

wxMyConfig::~wxMyConfig() {
  if (!m_discard) SaveFile();
  delete m_help;
  m_help = nullptr;
}

bool wxMyConfig::Flush(bool) { return true; }

bool wxMyConfig::SaveFile() {
  wxMemoryOutputStream out;
  if (!Save(out)) return false;
  size_t size = out.GetLength();
  std::string bytes(size, '\0');
  if (size) out.CopyTo(&bytes[0], size);
  return pelk::AtomicWriteFile(std::string(m_localPath.fn_str()), bytes.data(), bytes.size());
}

// ---------------------------------------------------------------- folders

int wxMyConfig::FolderKind(const wxString& kindName) {
  static const char* const names[] = {"", "Program", "DataPath", "Report", "Charts",
                                      "Catalog", "Work", "System", "OS"};
  for (int i = 1; i < 9; ++i)
    if (kindName == names[i]) return i;
  return FOLDER_NONE;
}

wxString wxMyConfig::GetFolder(const wxString& name, int kind) const {
  wxString folder;
  switch (kind) {
    case FOLDER_PROGRAM: folder = m_programFolder; break;
    case FOLDER_DATAPATH: folder = Read("Directories/DataPath", wxString()); break;
    case FOLDER_REPORT: folder = Read("Directories/Report", wxString()); break;
    case FOLDER_WORK: folder = wxGetCwd(); break;
    case FOLDER_OS: folder = wxGetOSDirectory(); break;
    default: break;
  }
  if (!folder.EndsWith("/")) folder += "/";
  return folder + name;
}

wxString wxMyConfig::GetFolder(const wxString& name, const wxString& kindName) const {
  return GetFolder(name, FolderKind(kindName));
}

void wxMyConfig::SetFolder(const wxString& path, int kind) {
  switch (kind) {
    case FOLDER_PROGRAM: m_programFolder = path; break;
    case FOLDER_DATAPATH: Write("Directories/DataPath", path); break;
    case FOLDER_REPORT: Write("Directories/Report", path); break;
    case FOLDER_CHARTS: Write("Directories/Charts", path); break;
    case FOLDER_CATALOG: Write("Directories/Catalog", path); break;
    case FOLDER_WORK: wxSetWorkingDirectory(path); break;
    default: break;
  }
}

void wxMyConfig::SetFolder(const wxString& path, const wxString& kindName) {
  SetFolder(path, FolderKind(kindName));
}

int wxMyConfig::ColumnWidth(const wxString& stored, int defaultWidth) {
  long width = pelk::DecimalValue(stored);
  // A negative width would ask the list to size the column itself; treat it
  // like a missing one.
  if (width <= 0 || width > 200) return defaultWidth > 0 ? defaultWidth : 100;
  return (int)width;
}

// ------------------------------------------------------------ text table

int wxMyConfig::ResetLanguage() {
  if (!m_table) {
    m_table.reset(new (std::nothrow) TLang_data[LANG_COUNT]);
    if (!m_table) return -1;
  }
  for (int i = 0; i < LANG_COUNT; ++i) {
    m_table[i].id = default_language[i].id;
    pelk::CopyField(m_table[i].text, sizeof m_table[i].text, default_language[i].text);
  }
  return 0;
}

TLang_data* wxMyConfig::Find(int id) {
  if (!m_table && ResetLanguage() != 0) return nullptr;
  for (int i = 0; i < LANG_COUNT; ++i)
    if (m_table[i].id == id) return &m_table[i];
  return nullptr;
}

const char* wxMyConfig::get(int id) {
  TLang_data* e = Find(id);
  return e ? e->text : nullptr;
}

wxString wxMyConfig::GetText(int id) {
  const char* t = get(id);
  return t ? pelk::FromLatin1(t, sizeof(TLang_data::text)) : wxString();
}

wxArrayString wxMyConfig::SplitList(const wxString& listText) {
  wxArrayString out;
  size_t pos = 0;
  while (pos < listText.length()) {
    size_t bar = listText.find('|', pos);
    if (bar == wxString::npos) {
      out.Add(listText.substr(pos));
      break;
    }
    out.Add(listText.substr(pos, bar - pos));
    pos = bar + 1;
  }
  return out;
}

wxArrayString wxMyConfig::GetList(int id) { return SplitList(GetText(id)); }

void wxMyConfig::ApplyLanguageLine(const std::string& line) {
  size_t p = 0;
  const size_t n = line.size();
  while (p < n && (line[p] == ' ' || line[p] == '\t')) ++p;
  if (p >= n || line[p] != '{') return;
  size_t comma = line.find(',', p + 1);
  if (comma == std::string::npos) return;

  // The id: leading blanks, an optional sign, then digits up to the first
  // character that is none.
  size_t q = p + 1;
  while (q < comma && (line[q] == ' ' || line[q] == '\t')) ++q;
  bool negative = false;
  if (q < comma && (line[q] == '+' || line[q] == '-')) negative = line[q++] == '-';
  long long id = 0;
  while (q < comma && isdigit((unsigned char)line[q])) {
    if (id < 100000000000LL) id = id * 10 + (line[q] - '0');
    ++q;
  }
  if (negative || id <= 0 || id > 0x7fffffffLL) return;
  TLang_data* entry = Find((int)id);
  if (!entry) return;

  q = comma + 1;
  while (q < n && (line[q] == ' ' || line[q] == '\t')) ++q;
  if (q >= n || line[q] != '"') return;
  ++q;
  size_t end = q;
  while (end < n && !(line[end] == '"' && line[end - 1] != '\\')) ++end;
  std::string raw = line.substr(q, std::min<size_t>(end - q, sizeof(entry->text) - 1));

  std::string text;
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\\' && i + 1 < raw.size()) {
      char e = raw[i + 1];
      if (e == 'n') { text += '\n'; ++i; continue; }
      if (e == 't') { text += '\b'; ++i; continue; }
      if (e == '"') { text += '"'; ++i; continue; }
      if (e == '\\') { text += '\\'; ++i; continue; }
    }
    text += c;
  }

  // Several texts are used as formats: a translation whose directives
  // differ from the built-in text's could read or write arbitrary memory.
  // Such a line is refused and the built-in text stays. Only a report
  // template has %NAME% fields; in any other text "%E%s" is two directives
  // for printf, however much it looks like a field.
  const TLangDefault& builtin = default_language[entry - m_table.get()];
  const bool fields = pelk::HasTemplateFields(builtin.text);
  if (pelk::FormatDirectives(text.c_str(), fields) != pelk::FormatDirectives(builtin.text, fields)) return;

  pelk::CopyField(entry->text, sizeof entry->text, text.c_str());
}

int wxMyConfig::LoadLanguage(const wxString& fileName) {
  wxString path = GetFolder(fileName, FOLDER_PROGRAM);
  if (fileName.empty() || !wxFileName::FileExists(path)) return -1;
  std::string data;
  if (!ReadWholeFile(std::string(path.fn_str()), data)) return -1;
  if (ResetLanguage() != 0) return -1;

  // LF, CR LF and CR all end a line; the last line counts without one.
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = data.size();
    ApplyLanguageLine(data.substr(pos, end - pos));
    if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n') ++end;
    pos = end + 1;
  }
  return 0;
}

int wxMyConfig::RestoreLanguage() {
  wxString name = Read("LanguageFile", wxString());
  bool loaded = false;
  if (name != "English (default)") loaded = LoadLanguage(name) == 0;
  if (!loaded) {
    if (ResetLanguage() != 0) return -1;
    name = "English (default)";
  }
  Write("LanguageFile", name);
  return 0;
}

int wxMyConfig::GetLanguageFiles(wxArrayString& names) {
  names.clear();
  wxString folder = GetFolder(wxString(), FOLDER_PROGRAM);
  bool hasEnglish = false;
  if (wxDir::Exists(folder)) {
    wxLogNull quiet;
    wxDir dir(folder);
    wxString file;
    if (dir.IsOpened()) {
      for (bool more = dir.GetFirst(&file, "*.lng", wxDIR_FILES); more; more = dir.GetNext(&file)) {
        names.Add(file);
        if (file == "english.lng") hasEnglish = true;
      }
    }
  }
  if (!hasEnglish) names.Add("default");
  return (int)names.size();
}

// ------------------------------------------------------------ formats

namespace pelk {

long DecimalValue(const wxString& text) {
  std::string s = ToLatin1(text);
  errno = 0;
  const char* p = s.c_str();
  char* end = nullptr;
  long v = strtol(p, &end, 10);
  if (end == p) return 0;
  return v;
}

namespace {

// The end of the template field that starts at `p` ("%OBSERVER%"), or null
// when none does.
const char* TemplateFieldEnd(const char* p) {
  const char* q = p + 1;
  while ((*q >= 'A' && *q <= 'Z') || *q == '_') ++q;
  return q > p + 1 && *q == '%' ? q + 1 : nullptr;
}

// No message needs a directive longer than this, from its "%" to its
// conversion letter.
const long kLongestDirective = 16;

// Skips the digits of a width or precision; more than three of them make
// the directive one that no text may have.
const char* SkipCount(const char* q, bool& tooLong) {
  const char* from = q;
  while (isdigit((unsigned char)*q)) ++q;
  if (q - from > 3) tooLong = true;
  return q;
}

}  // namespace

bool HasTemplateFields(const char* text) {
  if (!text) return false;
  for (const char* p = text; (p = strchr(p, '%')) != nullptr;) {
    if (TemplateFieldEnd(p)) return true;
    // "%%" is one character, never the start of a field.
    p += p[1] == '%' ? 2 : 1;
  }
  return false;
}

std::string FormatDirectives(const char* text, bool templateFields) {
  std::string kinds;
  if (!text) return kinds;
  const char* p = text;
  while ((p = strchr(p, '%')) != nullptr) {
    // A template field such as %OBSERVER% is filled by name, not by printf.
    if (templateFields) {
      if (const char* end = TemplateFieldEnd(p)) {
        p = end;
        continue;
      }
    }
    const char* q = p + 1;
    bool tooLong = false;
    std::string kind;
    if (*q == '%') {
      kinds += "%,";
      p = q + 1;
      continue;
    }
    // Argument position (n$).
    const char* d = q;
    while (isdigit((unsigned char)*d)) ++d;
    if (d > q && *d == '$') {
      kind += std::string(q, d + 1);
      q = d + 1;
    }
    while (*q && strchr("-+ #0'", *q)) ++q;
    if (*q == '*') {
      kinds += "*,";
      ++q;
      while (isdigit((unsigned char)*q) || *q == '$') ++q;
    } else {
      q = SkipCount(q, tooLong);
    }
    if (*q == '.') {
      ++q;
      if (*q == '*') {
        kinds += "*,";
        ++q;
        while (isdigit((unsigned char)*q) || *q == '$') ++q;
      } else {
        q = SkipCount(q, tooLong);
      }
    }
    std::string length;
    while (*q && strchr("hlLqjzt", *q)) length += *q++;
    if (length == "q") length = "ll";
    // The toolkit checks each directive against its argument and cannot
    // read one of thirty characters or more ("%####...#d"): it would
    // complain of every such message.
    if (q - p > kLongestDirective) tooLong = true;
    if (tooLong) kind += "#";
    char conv = *q;
    switch (conv) {
      case 'd': case 'i': kind += length + "d"; break;
      case 'o': case 'u': case 'x': case 'X': kind += length + "u"; break;
      case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
        kind += length + "f";
        break;
      case 'c': case 's': case 'p': case 'n': case 'C': case 'S':
        kind += length + conv;
        break;
      default:
        // Not a directive a printf would accept: kept as a kind of its own,
        // so that it only passes where the built-in text has the same.
        kind += "?";
        if (conv) kind += conv;
        break;
    }
    kinds += kind + ",";
    p = conv ? q + 1 : q;
  }
  return kinds;
}

wxString EscapePercent(const wxString& text) {
  wxString out(text);
  out.Replace("%", "%%");
  return out;
}

}  // namespace pelk
