#include "app/PelkApp.h"

#include <climits>
#include <unistd.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_zip.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/msgdlg.h>

#include "app/Message.h"
#include "app/PelkFrm.h"
#include "config/MyConfig.h"
#include "app/Properties.h"
#include "config/Rpt.h"
#include "db/DbChart.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"
#include "app/GeneralEntry.h"
#include "refdata/Directories.h"
#include "refdata/ObserverList.h"


wxString wxObsApp::ProgramFolderOf(const wxString& command) {
  wxString folder = wxPathOnly(command);
  if (folder.empty()) {
    // Started by a bare name found through PATH: ask the kernel where the
    // running executable is.
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
      buf[n] = '\0';
      folder = wxPathOnly(wxString::FromUTF8(buf));
      if (folder.empty()) folder = wxPathOnly(wxString(buf, wxConvFile));
    }
  }
  if (folder.empty()) folder = ".";
  // Absolute, so that a later change of the working folder (the folder
  // browser changes it) does not move the program's files.
  wxFileName fn = wxFileName::DirName(folder);
  fn.MakeAbsolute();
  wxString abs = fn.GetPath();
  return abs.empty() ? wxString("/") : abs;
}

bool wxObsApp::OnInit() {
  wxString command = argc > 0 ? wxString(argv[0]) : wxString();
  return StartUp(ProgramFolderOf(command));
}

int wxObsApp::OnExit() {
  ShutDown();
  return wxApp::OnExit();
}

bool wxObsApp::EndStartUp() {
  DiscardRun();
  return false;
}

void wxObsApp::DiscardRun() {
  if (myMainFrame) {
    myMainFrame->Destroy();
    myMainFrame = nullptr;
  }
  if (config) {
    config->DiscardChanges();
    wxConfigBase::Set(nullptr);
    delete config;
    config = nullptr;
  }
  m_checker.reset();
}

bool wxObsApp::StartUp(const wxString& programFolder) {
  // 1. Name, and the handlers of the zipped help book and its images.
  SetAppName("Pelk");
  m_scopesOpen = false;
  static bool handlersAdded = false;
  if (!handlersAdded) {
    wxFileSystem::AddHandler(new wxZipFSHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    handlersAdded = true;
  }

  // 2. The configuration store and the program folder.
  config = new wxMyConfig("Pelk");
  wxConfigBase::Set(config);
  config->SetFolder(programFolder, FOLDER_PROGRAM);
  InstallGuiPrompt();

  // 3. The stored language.
  if (config->RestoreLanguage() != 0) ShowMessage(16599, 57344, wxOK, nullptr);

  // 4. One instance per user.
  m_checker.reset(new wxInstanceLock);
  if (!m_checker->Acquire(GetAppName())) {
    ShowMessage(16628, 57344, wxOK | wxICON_INFORMATION, nullptr);
    return EndStartUp();
  }

  // 5. The main window.
  myMainFrame = new wxObsFrame(config->GetText(57344), wxPoint(50, 50), wxSize(510, 360));
  myMainFrame->SetTitle();
  myMainFrame->Show(true);
  SetTopWindow(myMainFrame);

  // 6. The diagnostic file, rewritten at every start.
  g_rpt.Open(config->GetFolder("pelk.rpt", FOLDER_PROGRAM));
  g_rpt.ReportSystem();
  g_rpt.ReportFile(FOLDER_PROGRAM, "stars.db", "Pelk Validation DB");
  g_rpt.ReportFile(FOLDER_PROGRAM, "english.lng", "Pelk English Language File");
  g_rpt.ReportFile(FOLDER_PROGRAM, "magyar.lng", "Pelk Hungarian Language File");
  g_rpt.Close();

  // 7. The configured folders must exist.
  CheckFolders();

  // 8. Where this run starts from.
  g_rpt.Report(RPT_NOMSG, "Initial program folder",
               pelk::EscapePercent(config->GetFolder(wxString(), FOLDER_PROGRAM)));
  g_rpt.Report(RPT_NOMSG, "Initial database folder",
               pelk::EscapePercent(config->Read("Directories/DataPath", wxString())));
  g_rpt.Report(RPT_NOMSG, "Initial report folder",
               pelk::EscapePercent(config->Read("Directories/Report", wxString())));

  // 9. The validation and chart tables, then the upgrade of older data.
  OpenDatabases();
  Upgrade();

  // 10. The observer.
  if (!ChooseObserver()) return EndStartUp();

  // 11. The observer's telescopes and observations.
  OpenObserverFiles();

  // 12. An empty validation table is offered a validation file.
  CheckValidationTable();
  return true;
}

void wxObsApp::ShutDown() {
  if (config) {
    wxConfigBase::Set(nullptr);
    delete config;  // writes the configuration file
    config = nullptr;
  }
  m_checker.reset();
}

bool wxObsApp::ConfiguredFolderMissing() {
  wxString data = config->Read("Directories/DataPath", wxString());
  wxString report = config->Read("Directories/Report", wxString());
  return (!data.empty() && !wxFileName::DirExists(data)) ||
         (!report.empty() && !wxFileName::DirExists(report));
}

void wxObsApp::CheckFolders() {
  if (!ConfiguredFolderMissing()) return;
  ShowMessage(16622, 16621, wxOK | wxICON_WARNING, myMainFrame);
  wxProperties sheet(16523, myMainFrame);
  wxDirectories* page = new wxDirectories(sheet.Notebook());
  page->SetInitialSetup(true);
  sheet.AddProp(page);
  sheet.ShowModal();
}

void wxObsApp::OpenDatabases() {
  g_stars.Open(wxString());
  WarnIfUnreadable(g_stars, myMainFrame);
  g_chart.Open();
  WarnIfUnreadable(g_chart, myMainFrame);
}

void wxObsApp::Upgrade() {
  // Keys and data of earlier versions are brought up to date here.
}

bool wxObsApp::ChooseObserver() {
  const wxString users = config->Read("Users", wxString());
  if (users.empty()) return FirstRun();
  if (users.length() <= 3) {
    g_observer = users;
    return true;
  }
  wxObserverList list(myMainFrame);
  list.SetStartupMode(true);
  return list.ShowModal() == wxID_OK;
}

bool wxObsApp::FirstRun() {
  // 1. The folders, when none is set yet.
  if (config->Read("Directories/DataPath", wxString()).empty()) {
    wxProperties sheet(16523, myMainFrame);
    wxDirectories* page = new wxDirectories(sheet.Notebook());
    page->SetInitialSetup(true);
    sheet.AddProp(page);
    if (sheet.ShowModal() != wxID_OK) return false;
  }
  // 2. The first observer's initials.
  wxString code;
  wxGeneralEntry entry(myMainFrame, 16467, 16468, 12002);
  if (entry.CallDialog(code, 3, 3) != wxID_OK || code.empty()) return false;
  // 3. The observer becomes current, with an empty scope list.
  g_observer = code.Upper();
  g_scope.Open();
  m_scopesOpen = true;
  myMainFrame->SetTitle();
  // 4. The observer's data, station and scopes.
  if (wxObserverList::ShowObserverSheet(myMainFrame) != wxID_OK) {
    g_scope.AbandonChanges();
    g_scope.Close();
    g_observer.clear();
    return false;
  }
  // 5. Only now is there an observer to remember.
  config->Write("Users", g_observer);
  return true;
}

void wxObsApp::OpenObserverFiles() {
  // Scopes first: opening the observations counts each scope's use.
  if (!m_scopesOpen) g_scope.Open();
  WarnIfUnreadable(g_scope, myMainFrame);
  g_obs.Open(false, 0);
  WarnIfUnreadable(g_obs, myMainFrame);
  if (wxMenuBar* bar = myMainFrame->GetMenuBar()) {
    bar->Enable(ID_ARCHIVE, wxDbObs::HasArchive());
    bar->Refresh();
  }
  myMainFrame->SetTitle();
}

void wxObsApp::CheckValidationTable() {
  if (g_stars.GetCount() != 0) return;
  if (ShowMessage(16584, 16585, wxYES_NO | wxICON_QUESTION, myMainFrame) == wxYES)
    wxDirectories::VfLoad(myMainFrame, true);
}
