// Start-up and shutdown of the program: the order of its steps, the one
// instance per user, and what reaches the configuration file.
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#include <wx/statusbr.h>

#include "GuiFixture.h"
#include "app/InstanceLock.h"
#include "app/Properties.h"

using namespace pelk_test;

namespace {

std::string ConfigText() { return ReadFile(TestDir() + "/.pelk"); }

class StartUp : public GuiTest {};

// A process that holds the lock until it is told to go, or dies holding it.
struct LockHolder {
  pid_t pid = -1;
  explicit LockHolder(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid = fork();
    if (pid == 0) {
      int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
      flock(fd, LOCK_EX);
      if (write(ready[1], "x", 1) != 1) _exit(1);
      pause();
      _exit(0);
    }
    char c;
    if (read(ready[0], &c, 1) != 1) pid = -1;
    close(ready[0]);
    close(ready[1]);
  }
  void Kill() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      pid = -1;
    }
  }
  ~LockHolder() { Kill(); }
};

}  // namespace

TEST_F(StartUp, FreshStartShowsMainWindowAndWritesConfigAtExit) {
  // An empty validation table is offered a validation file; No leaves the
  // program running with the empty table.
  bool started = false;
  wxTEST_DIALOG(started = App().StartUp(wxString(TestDir())),
                wxExpectMessage("Validation table not found. Do You want to load AAVSO/Eclisping validation file now?",
                                wxID_NO));
  ASSERT_TRUE(started);
  ASSERT_NE(myMainFrame, nullptr);
  EXPECT_TRUE(myMainFrame->IsShown());
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations");
  EXPECT_EQ(myMainFrame->GetSize(), wxSize(510, 360));
  ASSERT_NE(myMainFrame->GetStatusBar(), nullptr);
  EXPECT_EQ(myMainFrame->GetStatusBar()->GetFieldsCount(), 1);
  EXPECT_EQ(config->GetFolder("", FOLDER_PROGRAM), wxString(TestDir()) + "/");

  // The diagnostic file: heading, system, the three files, the three
  // start-up entries.
  std::string rpt = ReadFile(TestDir() + "/pelk.rpt");
  EXPECT_EQ(rpt.rfind("Report File\n\n", 0), 0u);
  for (const char* s : {"\tcurrent time = ", "\nPelk Validation DB (", "\nPelk English Language File (",
                        "\nPelk Hungarian Language File (", "\nInitial program folder\n\tinfo : ",
                        "\nInitial database folder\n\tinfo : \n", "\nInitial report folder\n\tinfo : \n"})
    EXPECT_NE(rpt.find(s), std::string::npos) << s;
  EXPECT_NE(rpt.find("\nInitial program folder\n\tinfo : " + TestDir() + "/\n"), std::string::npos);

  EXPECT_EQ(ConfigText(), "");  // nothing written while running
  App().ShutDown();
  EXPECT_NE(ConfigText().find("LanguageFile=English (default)"), std::string::npos);
}

TEST_F(StartUp, SecondInstanceIsRefusedAndWritesNothing) {
  SeedValidationTable();
  WriteTestFile(".pelk", "Users=ABC\n");
  LockHolder other(TestDir() + "/.Pelk.lock");
  ASSERT_GT(other.pid, 0);
  {
    wxTEST_DIALOG(EXPECT_FALSE(App().StartUp(wxString(TestDir()))),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("already running"));
  }
  EXPECT_EQ(myMainFrame, nullptr);
  EXPECT_EQ(config, nullptr);
  EXPECT_EQ(ConfigText(), "Users=ABC\n");

  // The first instance dies without cleaning up: the next start runs.
  other.Kill();
  EXPECT_TRUE(App().StartUp(wxString(TestDir())));
}

TEST_F(StartUp, LeftoverLockFilesNeverLockOut) {
  // Whatever an earlier crash left in the lock file, including the id of a
  // process that now is somebody else's (our own parent, say).
  const std::string leftovers[] = {"", "garbage\x01\x02", std::to_string(getppid()) + "\n",
                                   std::to_string(getpid()) + "\n", "999999999\n"};
  for (const std::string& content : leftovers) {
    WriteTestFile(".Pelk.lock", content);
    wxInstanceLock lock;
    EXPECT_TRUE(lock.Acquire("Pelk"));
    EXPECT_TRUE(lock.IsHeld());
    // While it is held, a second taker is refused.
    wxInstanceLock second;
    EXPECT_FALSE(second.Acquire("Pelk"));
  }
}

TEST_F(StartUp, MissingConfiguredFolderIsReported) {
  struct Case {
    std::string config;
    bool warned;
  } cases[] = {
      {"[Directories]\nDataPath=/no/such/folder/\n", true},
      {"[Directories]\nDataPath=" + TestDir() + "/\nReport=/no/such/reports/\n", true},
      {"[Directories]\nDataPath=" + TestDir() + "/\nReport=" + TestDir() + "/\n", false},
      {"[Directories]\nDataPath=\n", false},
      {"", false},
  };
  SeedValidationTable();
  for (const Case& c : cases) {
    WriteTestFile(".pelk", c.config);
    if (c.warned) {
      // The warning, then the folders page alone in its initial-setup mode.
      wxTEST_DIALOG(ASSERT_TRUE(App().StartUp(wxString(TestDir()))),
                    wxExpectMessage(
                        "Database or report folder given by the configuration do not exist.\nPlease, select another folder"),
                    wxExpectDialog<wxProperties>([](wxProperties* sheet) {
                      EXPECT_EQ(sheet->GetTitle(), "Program Options");
                      EXPECT_EQ(sheet->PageCount(), 1);
                      return wxID_CANCEL;
                    }));
    } else {
      ASSERT_TRUE(App().StartUp(wxString(TestDir())));
    }
    TearDown();
  }
}

TEST_F(StartUp, StoredObserverAndLanguage) {
  SeedValidationTable();
  WriteTestFile(".pelk", "Users=ABC\nLanguageFile=magyar.lng\n");
  WriteTestFile("magyar.lng", "{57344, \"Pelk - V\xe1ltoz\xf3\x63sillag-\xe9szlel\xe9sek\"},\n");
  ASSERT_TRUE(App().StartUp(wxString(TestDir())));
  EXPECT_EQ(g_observer, "ABC");
  EXPECT_EQ(myMainFrame->GetTitle(), wxString::FromUTF8("Pelk - Változócsillag-észlelések (ABC)"));
  App().ShutDown();
  EXPECT_NE(ConfigText().find("LanguageFile=magyar.lng"), std::string::npos);

  // A stored language whose file is gone falls back to English silently.
  TearDown();
  unlink((TestDir() + "/magyar.lng").c_str());
  ASSERT_TRUE(App().StartUp(wxString(TestDir())));
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations (ABC)");
  App().ShutDown();
  EXPECT_NE(ConfigText().find("LanguageFile=English (default)"), std::string::npos);
}

TEST_F(StartUp, ProgramFolderOfCommand) {
  EXPECT_EQ(wxObsApp::ProgramFolderOf("/opt/pelk/bin/pelk"), "/opt/pelk/bin");
  EXPECT_EQ(wxObsApp::ProgramFolderOf("./pelk"), wxString(TestDir()));
  EXPECT_EQ(wxObsApp::ProgramFolderOf("sub/pelk"), wxString(TestDir()) + "/sub");
  // A bare name found through PATH: the running executable's folder.
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  exe[n] = '\0';
  EXPECT_EQ(wxObsApp::ProgramFolderOf("pelk"), wxPathOnly(wxString(exe)));
}
