// The "General" page of the program options: the data and report folders
// and three feature switches. It also holds the loading of validation
// files into the star table.
#pragma once

#include "app/PropPage.h"

class wxButton;
class wxCheckBox;

enum {
  ID_DIR_DATA = 1113,
  ID_DIR_REPORT = 1023,
  ID_DIR_TOOLTIPS = 1300,
  ID_DIR_CHARTS = 1301,
  ID_DIR_YEARLY = 1311,
};

// Kinds of validation file.
enum { VALIDATION_AAVSO = 0, VALIDATION_ECLIPSING = 1, VALIDATION_UNKNOWN = 2 };

class wxDirectories : public myPropPage {
 public:
  explicit wxDirectories(wxWindow* parent);

  // In the initial-setup mode a changed data folder moves nothing.
  void SetInitialSetup(bool on) { m_initialSetup = on; }

  void OnInit() override;
  void OnOK() override;

  // Lets the user pick a folder; true when one was picked, `folder` then
  // holding it with a trailing "/".
  static bool BrowseFolder(wxWindow* parent, const wxString& title, wxString& folder);
  // The file's modification date in local time, "yyyy.mm.dd".
  static wxString FileDate(const wxString& path);
  // Moves one file: 1 when done or there was nothing to move, 0 when the
  // user refused to overwrite or the copy failed (a message then says so).
  static int MoveFile(const wxString& from, const wxString& to);

  // Lets the user choose a validation file and loads it: 1 when a load was
  // attempted (its outcome shown), 0 when abandoned.
  static int VfLoad(wxWindow* parent, bool noConfirmation);
  // The same from the chosen file on: `filterIndex` is the file dialog's
  // filter (0 AAVSO, 1 eclipsing, anything else: the name decides).
  static int VfLoadFile(wxWindow* parent, const wxString& path, int filterIndex, bool noConfirmation);
  // The file dialog's filter list: the table's list, whose empty last entry
  // becomes one that shows every file.
  static wxString ValidationFilter();

  const wxString& GetDataFolder() const { return m_data; }
  const wxString& GetReportFolder() const { return m_report; }
  void SetFolders(const wxString& data, const wxString& report);

 private:
  void OnDataButton(wxCommandEvent& event);
  void OnReportButton(wxCommandEvent& event);
  void MoveObserverFiles(const wxString& from, const wxString& to);

  bool m_initialSetup = false;
  wxString m_report;
  wxString m_data;
  wxString m_dataStart;
  wxButton* m_reportButton = nullptr;
  wxButton* m_dataButton = nullptr;
  wxCheckBox* m_tooltips = nullptr;
  wxCheckBox* m_charts = nullptr;
  wxCheckBox* m_yearly = nullptr;
  wxDECLARE_EVENT_TABLE();
};
