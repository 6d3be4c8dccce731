// The main window: menus, toolbar, the status-bar sky clock, the title
// naming the observer, and the switch between observations and archive.
#pragma once

#include <wx/frame.h>
#include <wx/arrstr.h>
#include <wx/timer.h>

class wxAstroTime;

// Menu entry ids; a toolbar tool has the id of its menu entry and the
// tooltip text id + 100.
enum {
  ID_USERS = 501,
  ID_PROPERTIES = 502,
  ID_EXIT = 503,
  ID_NEWOBS = 511,
  ID_BROWSE = 512,
  ID_REPORT = 513,
  ID_ARCHIVE = 514,
  ID_OPTIONS = 521,
  ID_VALLIST = 522,
  ID_LANGUAGE = 523,
  ID_CHARTLIST = 524,
  ID_CONTENTS = 531,
  ID_ABOUT = 532,
  ID_CLOCK_TIMER = 101
};

class wxObsFrame : public wxFrame {
 public:
  wxObsFrame(const wxString& title, const wxPoint& pos, const wxSize& size);
  ~wxObsFrame() override;

  void SetMenu();
  void SetToolTips();
  void SetTitle();
  // Makes `code` the current observer: 0 when it already is, else 1.
  int ChangeObserver(const wxString& code);
  // Years of the observer's yearly archives, as the folder lists them.
  static wxArrayString ArchiveYears();

  // The title for the current observer and viewing state.
  static wxString ComposeTitle();
  // The status-bar clock for an instant and the stored longitude of the
  // current observer (empty when there is none).
  static wxString ClockText(const wxAstroTime& now, const wxString& longitude);
  // A stored longitude ("E19.1", "W5", "19.1") in degrees east; false when
  // it is empty or no number.
  static bool ParseLongitude(const wxString& text, double* degrees);

 private:
  void OnQuit(wxCommandEvent& event);
  void OnArchive(wxCommandEvent& event);
  void OnProperties(wxCommandEvent& event);
  void OnObsrvrProp(wxCommandEvent& event);
  void OnLanguage(wxCommandEvent& event);
  void OnHelpContents(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnTimer(wxTimerEvent& event);

  wxTimer m_timer;
  wxDECLARE_EVENT_TABLE();
};

extern wxObsFrame* myMainFrame;
