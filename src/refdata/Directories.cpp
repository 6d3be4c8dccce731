#include "refdata/Directories.h"

#include <ctime>
#include <sys/stat.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "app/Message.h"
#include "config/MyConfig.h"
#include "config/Rpt.h"
#include "db/Archives.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"
#include "db/FileMove.h"

wxBEGIN_EVENT_TABLE(wxDirectories, myPropPage)
  EVT_BUTTON(ID_DIR_DATA, wxDirectories::OnDataButton)
  EVT_BUTTON(ID_DIR_REPORT, wxDirectories::OnReportButton)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {0, 0, 1022, ID_DIR_DATA, ID_DIR_REPORT, ID_DIR_TOOLTIPS, ID_DIR_CHARTS,
                                 ID_DIR_YEARLY, 0};

namespace {
wxString WithSlash(const wxString& folder) { return folder.EndsWith("/") ? folder : folder + "/"; }
wxString HomeFolder() { return WithSlash(wxGetHomeDir()); }
}  // namespace

wxDirectories::wxDirectories(wxWindow* parent) : myPropPage(parent, 133) {
  SetHelpPage("mn_directories.html");
  wxFlexGridSizer* grid = new wxFlexGridSizer(2, 6, 8);
  grid->AddGrowableCol(1, 1);
  grid->Add(new wxStaticText(this, 1207, config->GetText(1207)), 0, wxALIGN_CENTER_VERTICAL);
  m_dataButton = new wxButton(this, ID_DIR_DATA, wxString(), wxDefaultPosition, wxSize(260, -1));
  grid->Add(m_dataButton, 1, wxEXPAND);
  grid->Add(new wxStaticText(this, 1210, config->GetText(1210)), 0, wxALIGN_CENTER_VERTICAL);
  m_reportButton = new wxButton(this, ID_DIR_REPORT, wxString(), wxDefaultPosition, wxSize(260, -1));
  grid->Add(m_reportButton, 1, wxEXPAND);

  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 10);
  m_tooltips = new wxCheckBox(this, ID_DIR_TOOLTIPS, config->GetText(1300));
  m_charts = new wxCheckBox(this, ID_DIR_CHARTS, config->GetText(1301));
  m_yearly = new wxCheckBox(this, ID_DIR_YEARLY, config->GetText(1311));
  for (wxCheckBox* box : {m_tooltips, m_charts, m_yearly}) top->Add(box, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  SetSizer(top);
  config->SetToolTips(this, s_tooltips);
}

void wxDirectories::SetFolders(const wxString& data, const wxString& report) {
  m_data = data;
  m_report = report;
  m_dataButton->SetLabel(m_data);
  m_reportButton->SetLabel(m_report);
}

void wxDirectories::OnInit() {
  wxString report, data;
  if (!config->Read("Directories/Report", &report)) report = HomeFolder();
  if (!config->Read("Directories/DataPath", &data)) data = HomeFolder();
  SetFolders(data, report);
  m_dataStart = m_data;
  m_tooltips->SetValue(config->Read("Features/UseTooltips", "No") == "Yes");
  m_charts->SetValue(config->Read("Features/UseCharts", "No") == "Yes");
  m_yearly->SetValue(config->Read("Features/YearlyArchive", "No") == "Yes");
  // The archive's form cannot change while it is being viewed.
  m_yearly->Enable(!g_obs.IsArchive());
}

void wxDirectories::OnDataButton(wxCommandEvent&) {
  BrowseFolder(this, config->GetText(16478), m_data);
  m_dataButton->SetLabel(m_data);
}

void wxDirectories::OnReportButton(wxCommandEvent&) {
  BrowseFolder(this, config->GetText(16477), m_report);
  m_reportButton->SetLabel(m_report);
}

bool wxDirectories::BrowseFolder(wxWindow* parent, const wxString& title, wxString& folder) {
  wxString start = folder.empty() ? config->GetFolder(wxString(), FOLDER_WORK) : folder;
  wxDirDialog dlg(parent, title, start, wxDD_DEFAULT_STYLE | wxDD_NEW_DIR_BUTTON, wxDefaultPosition,
                  wxSize(450, 550));
  dlg.SetTitle(title);
  if (dlg.ShowModal() != wxID_OK) return false;
  folder = WithSlash(dlg.GetPath());
  return true;
}

wxString wxDirectories::FileDate(const wxString& path) {
  struct stat st;
  if (stat(path.fn_str(), &st) != 0) return wxString();
  struct tm tmv;
  time_t t = st.st_mtime;
  if (!localtime_r(&t, &tmv)) return wxString();
  return wxString::Format("%4d.%02d.%02d", tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday);
}

int wxDirectories::MoveFile(const wxString& from, const wxString& to) {
  if (wxFileExists(to)) {
    wxString question = wxString::Format(config->GetText(16605), wxFileName(to).GetFullName());
    if (ShowMessageText(question, 16542, wxYES_NO | wxICON_QUESTION, nullptr) != wxYES) return 0;
  }
  if (!wxFileExists(from)) return 1;
  // The old file goes only once the new one is complete; an existing file
  // at the destination is replaced whole, never left half-written.
  if (pelk::MoveFileWhole(from, to) != 0) {
    ShowMessageText(wxString::Format(config->GetText(16543), from), 16542, wxOK | wxICON_WARNING, nullptr);
    return 0;
  }
  return 1;
}

void wxDirectories::MoveObserverFiles(const wxString& from, const wxString& to) {
  const wxString users = config->Read("Users", wxString());
  for (size_t i = 0; i < users.length(); i += 3) {
    const wxString code = users.Mid(i, 3);
    for (const char* ext : {".obs", ".scope", ".arch"}) MoveFile(from + code + ext, to + code + ext);
    // Yearly archives go along, so that an observer never loses sight of
    // them: the program only looks for them in the data folder.
    for (int year : pelk::YearlyArchiveYears(from, code)) {
      const wxString name = code + wxString::Format("%04d.arch", year);
      MoveFile(from + name, to + name);
    }
  }
}

void wxDirectories::OnOK() {
  m_report = WithSlash(m_report);
  config->Write("Directories/Report", m_report);
  g_rpt.Report(RPT_NOMSG, "Configuration changed",
               wxString::Format("Report folder moved to '%s'", pelk::EscapePercent(m_report)));

  m_data = WithSlash(m_data);
  const bool archive = g_obs.IsArchive();
  const int archiveYear = g_obs.GetArchiveYear();
  if (!m_initialSetup && m_data != m_dataStart) {
    if (ShowMessage(16541, 16542, wxYES_NO | wxICON_QUESTION, this) == wxYES) {
      SaveDatabaseOrAsk(g_scope, false);
      SaveDatabaseOrAsk(g_obs, false);
      g_scope.Close();
      g_obs.Close();
      MoveObserverFiles(WithSlash(config->Read("Directories/DataPath", wxString())), m_data);
    }
    g_rpt.Report(RPT_NOMSG, "Configuration changed",
                 wxString::Format("Data folder moved from '%s' to '%s'", pelk::EscapePercent(m_dataStart),
                                  pelk::EscapePercent(m_data)));
  }
  config->Write("Directories/DataPath", m_data);
  if (!g_observer.empty()) {
    SaveDatabaseOrAsk(g_scope, false);
    SaveDatabaseOrAsk(g_obs, false);
    g_scope.Close();
    g_obs.Close();
    g_scope.Open();
    g_obs.Open(archive, archiveYear);
  }

  config->Write("Features/UseTooltips", m_tooltips->GetValue() ? "Yes" : "No");
  config->Write("Features/UseCharts", m_charts->GetValue() ? "Yes" : "No");
  const wxString oldYearly = config->Read("Features/YearlyArchive", "No");
  const wxString newYearly = m_yearly->GetValue() ? "Yes" : "No";
  config->Write("Features/YearlyArchive", newYearly);
  if (oldYearly != newYearly) {
    wxBusyCursor busy;
    const wxString users = config->Read("Users", wxString());
    for (size_t i = 0; i < users.length(); i += 3) {
      const wxString code = users.Mid(i, 3);
      const int rc = newYearly == "Yes" ? pelk::SplitArchiveByYear(code) : pelk::JoinYearlyArchives(code);
      // Fixed English: the text table has no message for this. Every
      // estimate is still in at least one of the files.
      if (rc != 0)
        ShowMessageText(wxString::Format("The archive of %s could not be converted completely.\n"
                                         "No estimate was lost: the files that could not be converted were left "
                                         "in place.",
                                         code),
                        16542, wxOK | wxICON_WARNING, this);
    }
  }
}

wxString wxDirectories::ValidationFilter() {
  wxString filter = config->GetText(16470);
  if (filter.EndsWith("||")) filter = filter.Left(filter.length() - 1) + "*|*";
  return filter;
}

int wxDirectories::VfLoad(wxWindow* parent, bool noConfirmation) {
  wxFileDialog dlg(parent, config->GetText(16472), config->Read("Directories/ValidateFile", wxString()),
                   wxString(), ValidationFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dlg.ShowModal() != wxID_OK) return 0;
  return VfLoadFile(parent, dlg.GetPath(), dlg.GetFilterIndex(), noConfirmation);
}

int wxDirectories::VfLoadFile(wxWindow* parent, const wxString& path, int filterIndex, bool noConfirmation) {
  int kind = filterIndex;
  if (kind != VALIDATION_AAVSO && kind != VALIDATION_ECLIPSING) {
    const wxString name = wxFileName(path).GetFullName();
    if (name == "vallong.txt") {
      kind = VALIDATION_AAVSO;
    } else if (name == "fedesi.txt") {
      kind = VALIDATION_ECLIPSING;
    } else {
      int answer = ShowMessage(16550, 16472, wxYES_NO | wxCANCEL | wxICON_QUESTION, parent);
      if (answer == wxYES) kind = VALIDATION_AAVSO;
      else if (answer == wxNO) kind = VALIDATION_ECLIPSING;
      else return 0;
    }
  }
  if (!noConfirmation && ShowMessage(16469, 16472, wxYES_NO | wxICON_QUESTION, parent) != wxYES) return 0;

  config->Write("Directories/ValidateFile", wxPathOnly(path));
  int count = 0;
  int rc;
  {
    wxBusyCursor busy;
    if (kind == VALIDATION_ECLIPSING) {
      rc = LoadEclipsingValidation(path, &count);
    } else {
      rc = LoadAavsoValidation(path, &count);
      if (rc == VALIDATION_LOADED) config->Write("Directories/ValidationFileDate", FileDate(path));
    }
  }
  if (rc != VALIDATION_LOADED) {
    ShowMessage(16471, 16472, wxOK, parent);
  } else {
    ShowMessageText(wxString::Format(config->GetText(16466), count, wxFileName(path).GetFullName()), 16472, wxOK,
                    parent);
    g_rpt.Report(RPT_NOMSG, "Validation file changed",
                 wxString::Format("%s validation file '%s' loaded.",
                                  kind == VALIDATION_ECLIPSING ? "Eclipsing" : "AAVSO", pelk::EscapePercent(path)));
  }
  return 1;
}
