// The one configuration store: every persistent setting, the program's
// folders, and the text table with its language files.
#pragma once

#include <memory>
#include <string>
#include <wx/arrstr.h>
#include <wx/fileconf.h>
#include <wx/string.h>

class wxWindow;
class wxControlWithItems;
class wxListCtrl;
class wxObject;

#define LANG_COUNT 479

// One slot of the text table: 1023 text bytes (ISO-8859-1) and the
// terminator.
struct TLang_data {
  int id;
  char text[1024];
};

// One entry of the built-in table.
struct TLangDefault {
  int id;
  const char* text;
};
extern const TLangDefault default_language[LANG_COUNT];

// Folder kinds of GetFolder and SetFolder.
enum {
  FOLDER_NONE = 0,
  FOLDER_PROGRAM = 1,
  FOLDER_DATAPATH = 2,
  FOLDER_REPORT = 3,
  FOLDER_CHARTS = 4,
  FOLDER_CATALOG = 5,
  FOLDER_WORK = 6,
  FOLDER_SYSTEM = 7,
  FOLDER_OS = 8
};

class wxMyConfig : public wxFileConfig {
 public:
  explicit wxMyConfig(const wxString& appName);
  // Writes the configuration file (atomically) unless DiscardChanges was
  // called.
  ~wxMyConfig() override;

  // --- configuration file ---
  // The file the store reads and writes: ".pelk" in the user's home folder.
  const wxString& GetLocalPath() const { return m_localPath; }
  // Writes every setting to the file now; false when it could not be
  // written (the old file is then untouched).
  bool SaveFile();
  // Nothing of this run reaches the file: the destructor writes nothing.
  void DiscardChanges() { m_discard = true; }
  // The store only ever writes through SaveFile.
  bool Flush(bool currentOnly = false) override;

  // --- folders ---
  wxString GetFolder(const wxString& name, int kind) const;
  wxString GetFolder(const wxString& name, const wxString& kindName) const;
  void SetFolder(const wxString& path, int kind);
  void SetFolder(const wxString& path, const wxString& kindName);
  // The kind of a folder name ("Program", "DataPath", ...); 0 when unknown.
  static int FolderKind(const wxString& kindName);

  // Column width stored under `stored` (decimal text): 0, no number or
  // above 200 gives `defaultWidth` (100 when that is not positive).
  static int ColumnWidth(const wxString& stored, int defaultWidth);

  // --- text table ---
  const char* get(int id);
  wxString GetText(int id);
  wxArrayString GetList(int id);
  static wxArrayString SplitList(const wxString& listText);
  int ResetLanguage();
  int LoadLanguage(const wxString& fileName);
  int RestoreLanguage();
  int GetLanguageFiles(wxArrayString& names);

  // --- window side, defined in the GUI library ---
  int FillCombo(wxControlWithItems* choice, const wxString& listText);
  int FillCombo(wxWindow* dialog, int controlId, int textId);
  int FillCombo(wxWindow* dialog, int controlId, const wxString& listText);
  void SetToolTip(wxWindow* dialog, int controlId, int textId);
  int SetToolTips(wxWindow* dialog, const int* tooltipList);
  void InitHelp();
  void DisplayHelp(const wxString& page);
  void SetColumnSize(wxListCtrl* list, const int* columnTextIds, int count, const int* defaultWidths,
                     const wxString& prefix);
  void SaveColumnSize(wxListCtrl* list, int count, const wxString& prefix);

  // The help controller, owned here and created by the GUI side.
  wxObject* m_help = nullptr;

 private:
  TLang_data* Find(int id);
  void ApplyLanguageLine(const std::string& line);

  std::unique_ptr<TLang_data[]> m_table;
  wxString m_programFolder;
  wxString m_localPath;
  bool m_discard = false;
};

// The one store, set up by start-up.
extern wxMyConfig* config;
// The current observer's code (three upper-case characters; empty while
// none is chosen).
extern wxString g_observer;

namespace pelk {
// Base-10 value of a stored number; text that is no number gives 0.
long DecimalValue(const wxString& text);
// The format directives of a text (printf conversions, "%%" included), one
// kind per directive, in order. Two texts can stand in for each other as
// formats exactly when these match. With `templateFields` the %NAME% fields
// of a report template are left out, as they are filled in by name; without
// it every "%" is read as printf reads it ("%E%s" is a double, then "s").
// A width or precision of more than three digits, and a directive of more
// than 16 characters, is a kind of its own: no message needs one, printf
// would fill gigabytes with the one and the toolkit cannot read the other.
std::string FormatDirectives(const char* text, bool templateFields = true);
// Whether a text is a report template: it holds %NAME% fields.
bool HasTemplateFields(const char* text);
// A "%" in user data must not be taken as a directive: doubles each "%".
wxString EscapePercent(const wxString& text);
}  // namespace pelk
