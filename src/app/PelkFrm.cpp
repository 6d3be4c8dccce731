#include "app/PelkFrm.h"

#include <wx/accel.h>
#include <wx/bitmap.h>
#include <wx/choicdlg.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "config/DlgLanguage.h"
#include "app/Message.h"
#include "app/Properties.h"
#include "astro/AstroTime.h"
#include "config/MyConfig.h"
#include "db/Archives.h"
#include "db/DbChart.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"
#include "refdata/Directories.h"
#include "refdata/ObserverList.h"
#include "resources/pelk.xpm"
#include "resources/tb_browse.xpm"
#include "resources/tb_exit.xpm"
#include "resources/tb_help.xpm"
#include "resources/tb_newobs.xpm"
#include "resources/tb_properties.xpm"
#include "resources/tb_report.xpm"

wxObsFrame* myMainFrame = nullptr;

wxBEGIN_EVENT_TABLE(wxObsFrame, wxFrame)
  EVT_MENU(ID_EXIT, wxObsFrame::OnQuit)
  EVT_MENU(ID_ARCHIVE, wxObsFrame::OnArchive)
  EVT_MENU(ID_OPTIONS, wxObsFrame::OnProperties)
  EVT_MENU(ID_PROPERTIES, wxObsFrame::OnObsrvrProp)
  EVT_MENU(ID_USERS, wxObsFrame::OnObserverList)
  EVT_MENU(ID_LANGUAGE, wxObsFrame::OnLanguage)
  EVT_MENU(ID_CONTENTS, wxObsFrame::OnHelpContents)
  EVT_CLOSE(wxObsFrame::OnClose)
  EVT_TIMER(ID_CLOCK_TIMER, wxObsFrame::OnTimer)
wxEND_EVENT_TABLE()

wxObsFrame::wxObsFrame(const wxString& title, const wxPoint& pos, const wxSize& size)
    : wxFrame(nullptr, wxID_ANY, title, pos, size), m_timer(this, ID_CLOCK_TIMER) {
  SetIcon(wxIcon(pelk_xpm));
  SetMenu();

  wxToolBar* tb = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL | wxNO_BORDER);
  tb->SetToolBitmapSize(wxSize(32, 32));
  struct Tool {
    int id;
    const char* const* image;
  } const tools[] = {{ID_EXIT, tb_exit_xpm},     {ID_PROPERTIES, tb_properties_xpm},
                     {ID_NEWOBS, tb_newobs_xpm}, {ID_BROWSE, tb_browse_xpm},
                     {ID_REPORT, tb_report_xpm}, {ID_CONTENTS, tb_help_xpm}};
  for (const Tool& t : tools) tb->AddTool(t.id, wxString(), wxBitmap(t.image), config->GetText(t.id + 100));
  tb->Realize();

  CreateStatusBar(1);

  wxAcceleratorEntry entries[5];
  entries[0].Set(wxACCEL_CTRL, 'N', ID_NEWOBS);
  entries[1].Set(wxACCEL_CTRL, 'B', ID_BROWSE);
  entries[2].Set(wxACCEL_CTRL, 'R', ID_REPORT);
  entries[3].Set(wxACCEL_CTRL, 'P', ID_PROPERTIES);
  entries[4].Set(wxACCEL_NORMAL, WXK_F1, ID_CONTENTS);
  wxAcceleratorTable accel(5, entries);
  SetAcceleratorTable(accel);
  m_timer.Start(1000);
}

wxObsFrame::~wxObsFrame() {
  m_timer.Stop();
  if (myMainFrame == this) myMainFrame = nullptr;
}

void wxObsFrame::SetMenu() {
  wxMenu* user = new wxMenu;
  user->Append(ID_USERS, config->GetText(501));
  user->AppendSeparator();
  user->Append(ID_PROPERTIES, config->GetText(502) + "\tCtrl-P");
  user->AppendSeparator();
  user->Append(ID_EXIT, config->GetText(503));

  wxMenu* obs = new wxMenu;
  obs->Append(ID_NEWOBS, config->GetText(511) + "\tCtrl-N");
  obs->Append(ID_BROWSE, config->GetText(512) + "\tCtrl-B");
  obs->Append(ID_REPORT, config->GetText(513) + "\tCtrl-R");
  obs->AppendSeparator();
  obs->AppendCheckItem(ID_ARCHIVE, config->GetText(514));

  wxMenu* tools = new wxMenu;
  tools->Append(ID_OPTIONS, config->GetText(521));
  wxArrayString languages;
  if (config->GetLanguageFiles(languages) > 1) tools->Append(ID_LANGUAGE, config->GetText(523));
  tools->AppendSeparator();
  tools->Append(ID_VALLIST, config->GetText(522));
  tools->Append(ID_CHARTLIST, config->GetText(524));

  wxMenu* help = new wxMenu;
  help->Append(ID_CONTENTS, config->GetText(531) + "\tF1");
  help->Append(ID_ABOUT, config->GetText(532));

  wxMenuBar* bar = new wxMenuBar;
  bar->Append(user, config->GetText(500));
  bar->Append(obs, config->GetText(510));
  bar->Append(tools, config->GetText(520));
  bar->Append(help, config->GetText(530));
  wxMenuBar* old = GetMenuBar();
  SetMenuBar(bar);
  delete old;
  bar->Refresh();
}

void wxObsFrame::SetToolTips() {
  wxToolBar* tb = GetToolBar();
  if (!tb) return;
  static const int tools[] = {ID_EXIT, ID_PROPERTIES, ID_NEWOBS, ID_BROWSE, ID_REPORT, ID_CONTENTS};
  for (int id : tools) tb->SetToolShortHelp(id, config->GetText(id + 100));
  tb->Realize();
}

wxString wxObsFrame::ComposeTitle() {
  wxString title = config->GetText(57344);
  if (!g_observer.empty()) {
    title += " (" + g_observer;
    if (g_obs.IsArchive()) {
      title += " - " + config->GetText(614);
      if (g_obs.GetArchiveYear() != 0) title += wxString::Format(" %04d", g_obs.GetArchiveYear());
    }
    title += ")";
  }
  return title;
}

void wxObsFrame::SetTitle() { wxFrame::SetTitle(ComposeTitle()); }

void wxObsFrame::OnQuit(wxCommandEvent&) {
  m_timer.Stop();
  Close();
}

void wxObsFrame::OnLanguage(wxCommandEvent&) {
  wxDlgLanguage dlg(this);
  dlg.ShowModal();
}

void wxObsFrame::OnHelpContents(wxCommandEvent&) { config->DisplayHelp(wxString()); }

void wxObsFrame::OnClose(wxCloseEvent& event) {
  // The observations, telescopes, stars and charts are written now, while
  // the user can still be asked what to do when that fails.
  const bool canStay = event.CanVeto();
  wxMemDb* all[] = {&g_obs, &g_scope, &g_stars, &g_chart};
  for (wxMemDb* db : all) {
    if (!SaveDatabaseOrAsk(*db, canStay)) {
      event.Veto();
      return;
    }
  }
  m_timer.Stop();
  event.Skip();
}

wxArrayString wxObsFrame::ArchiveYears() {
  wxArrayString years;
  for (int year : pelk::YearlyArchiveYears(config->GetFolder(wxString(), FOLDER_DATAPATH), g_observer))
    years.Add(wxString::Format("%04d", year));
  return years;
}

void wxObsFrame::OnArchive(wxCommandEvent&) {
  wxMenuBar* bar = GetMenuBar();
  const bool checked = bar->IsChecked(ID_ARCHIVE);
  int year = 0;
  if (checked) {
    if (!wxDbObs::HasArchive()) return;
    if (config->Read("Features/YearlyArchive", "No") == "Yes") {
      wxArrayString years = ArchiveYears();
      wxSingleChoiceDialog dlg(this, "<select which year's archive observations do you need to see>",
                               "<select year>", years, nullptr, wxCHOICEDLG_STYLE | wxCENTRE);
      if (dlg.ShowModal() != wxID_OK) return;
      const int sel = dlg.GetSelection();
      long chosen = 0;
      if (sel < 0 || sel >= (int)years.size() || !years[(size_t)sel].ToLong(&chosen) || chosen <= 1899) return;
      year = (int)chosen;
    }
  }
  bar->Check(ID_ARCHIVE, checked);
  bar->Enable(ID_NEWOBS, !checked);
  if (wxToolBar* tb = GetToolBar()) tb->EnableTool(ID_NEWOBS, !checked);
  bar->Refresh();
  if (SaveDatabaseOrAsk(g_obs, false)) {
    g_obs.Close();
    g_obs.Open(checked, year);
    WarnIfUnreadable(g_obs, this);
  }
  SetTitle();
}

int wxObsFrame::ChangeObserver(const wxString& code) {
  if (code == g_observer) return 0;
  SaveDatabaseOrAsk(g_scope, false);
  SaveDatabaseOrAsk(g_obs, false);
  g_scope.Close();
  g_obs.Close();
  g_observer = code;
  config->Write("User/LastUsed", code);
  g_scope.Open();
  WarnIfUnreadable(g_scope, this);
  g_obs.Open(false, 0);
  WarnIfUnreadable(g_obs, this);
  wxMenuBar* bar = GetMenuBar();
  bar->Check(ID_ARCHIVE, false);
  bar->Enable(ID_ARCHIVE, wxDbObs::HasArchive());
  bar->Enable(ID_NEWOBS, true);
  if (wxToolBar* tb = GetToolBar()) tb->EnableTool(ID_NEWOBS, true);
  bar->Refresh();
  SetTitle();
  return 1;
}

void wxObsFrame::OnProperties(wxCommandEvent&) {
  wxProperties sheet(16523, this);
  sheet.AddProp(new wxDirectories(sheet.Notebook()));
  // The report and entry option pages join this sheet with their dialogs.
  sheet.ShowModal();
}

void wxObsFrame::OnObsrvrProp(wxCommandEvent&) {
  if (g_observer.empty()) return;
  wxObserverList::ShowObserverSheet(this);
}

void wxObsFrame::OnObserverList(wxCommandEvent&) {
  wxObserverList list(this);
  // With no observer left the program has nothing to show: it ends.
  if (list.ShowModal() == wxID_CANCEL && g_observer.empty()) Close();
}

bool wxObsFrame::ParseLongitude(const wxString& text, double* degrees) {
  wxString t = text;
  if (t.empty()) return false;
  if (t[0] == 'E') t[0] = '+';
  else if (t[0] == 'W') t[0] = '-';
  double v = 0;
  if (!t.ToCDouble(&v)) return false;
  *degrees = v;
  return true;
}

wxString wxObsFrame::ClockText(const wxAstroTime& now, const wxString& longitude) {
  int year, month, day, hour, minute, second;
  now.GetDateTimeLocal(&year, &month, &day, &hour, &minute, &second);
  double jd = 0;
  now.GetDateTimeJD(&jd);
  wxString text = wxString::Format("%4d.%02d.%02d %02d:%02d:%02d | JD %12.4f", year, month, day, hour, minute,
                                   second, jd);
  double lon = 0;
  if (ParseLongitude(longitude, &lon)) {
    int h, m, sec;
    now.GetLST(lon, &h, &m, &sec);
    text += wxString::Format(" | %s: %02d:%02d:%02d", config->GetText(16576), h, m, sec);
  }
  bool waxing = false;
  double fraction = now.MoonPhase(&waxing);
  wxString mark = config->GetText(16578);
  mark = waxing ? mark.Left(1) : mark.Mid(1);
  text += wxString::Format(" | %s: %2.0f%% %s", config->GetText(16577), fraction * 100.0, mark);
  return text;
}

void wxObsFrame::OnTimer(wxTimerEvent&) {
  wxAstroTime now;
  now.Now();
  wxString longitude;
  if (!g_observer.empty()) longitude = config->Read("User/" + g_observer + "/Longitude", wxString());
  if (wxStatusBar* bar = GetStatusBar()) bar->SetStatusText(ClockText(now, longitude));
}
