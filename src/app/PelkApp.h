// The application object: brings the program up in its fixed order and
// tears it down at exit.
#pragma once

#include <memory>
#include <wx/app.h>

#include "app/InstanceLock.h"

class wxObsApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;

  // The start-up sequence; false ends the program without writing the
  // configuration. `programFolder` is the folder of the program's files.
  bool StartUp(const wxString& programFolder);
  // The orderly end: writes the configuration and releases the lock.
  void ShutDown();
  // Ends a run that must leave no trace: the main window goes, nothing of
  // the configuration is written, the lock is released.
  void DiscardRun();

  // The version upgrade of an earlier installation's data.
  void Upgrade();

  // The program folder for the command that started the program: its
  // folder part, or the running executable's folder when it was found
  // through the search path.
  static wxString ProgramFolderOf(const wxString& command);

 private:
  // Ends start-up early: nothing of this run reaches the configuration file.
  bool EndStartUp();
  // True when a configured data or report folder does not exist.
  static bool ConfiguredFolderMissing();
  void CheckFolders();
  void OpenDatabases();
  bool ChooseObserver();
  void OpenObserverFiles();
  void CheckValidationTable();

  std::unique_ptr<wxInstanceLock> m_checker;
  // The first run opens the new observer's scopes itself.
  bool m_scopesOpen = false;
};

