#include "refdata/Observer.h"

#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/Message.h"
#include "app/PelkFrm.h"
#include "config/MyConfig.h"
#include "db/Archives.h"
#include "db/DbObs.h"
#include "db/DbScope.h"

static const int s_tooltips[] = {0,  0, ID_OBSERVER_CODE, ID_OBSERVER_NAME, ID_OBSERVER_ADDRESS, ID_OBSERVER_CITY,
                                 ID_OBSERVER_ZIP, ID_OBSERVER_COUNTRY, ID_OBSERVER_EMAIL, 0};

namespace {
// Label id, field id and configuration key of each field, in page order.
struct FieldSpec {
  int label;
  int id;
  const char* key;
};
const FieldSpec kFields[7] = {{1225, ID_OBSERVER_CODE, nullptr},       {1226, ID_OBSERVER_NAME, "Name"},
                              {1227, ID_OBSERVER_ADDRESS, "Address"}, {1228, ID_OBSERVER_CITY, "City"},
                              {1231, ID_OBSERVER_ZIP, "Zip"},         {1229, ID_OBSERVER_COUNTRY, "Country"},
                              {1230, ID_OBSERVER_EMAIL, "Email"}};
}  // namespace

wxObserver::wxObserver(wxWindow* parent) : myPropPage(parent, 132) {
  SetHelpPage("mn_obsprop1.html");
  wxFlexGridSizer* grid = new wxFlexGridSizer(2, 6, 8);
  grid->AddGrowableCol(1, 1);
  for (int i = 0; i < 7; ++i) {
    grid->Add(new wxStaticText(this, kFields[i].label, config->GetText(kFields[i].label)), 0,
              wxALIGN_CENTER_VERTICAL);
    m_fields[i] = new wxTextCtrl(this, kFields[i].id, wxString(), wxDefaultPosition, wxSize(i == 0 ? 60 : 240, -1));
    grid->Add(m_fields[i], 0, i == 0 ? 0 : wxEXPAND);
  }
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 10);
  SetSizer(top);
  config->SetToolTips(this, s_tooltips);
}

wxTextCtrl* wxObserver::Field(int id) const {
  for (int i = 0; i < 7; ++i)
    if (kFields[i].id == id) return m_fields[i];
  return nullptr;
}

void wxObserver::OnInit() {
  m_fields[0]->SetValue(g_observer);
  for (int i = 1; i < 7; ++i)
    m_fields[i]->SetValue(config->Read("User/" + g_observer + "/" + kFields[i].key, wxString()));
}

void wxObserver::OnOK() {
  for (int i = 1; i < 7; ++i)
    config->Write("User/" + g_observer + "/" + kFields[i].key, m_fields[i]->GetValue());

  const wxString typed = m_fields[0]->GetValue();
  if (typed == g_observer) return;
  if (typed.length() != 3) {
    ShowMessage(16623, 16626, wxOK, this);
    return;
  }
  const wxString code = typed.Upper();
  const wxString users = config->Read("Users", wxString());
  for (size_t i = 0; i + 3 <= users.length(); i += 3) {
    if (users.Mid(i, 3) == code) {
      ShowMessage(16624, 16626, wxOK, this);
      return;
    }
  }
  if (ShowMessageText(wxString::Format(config->GetText(16625), code), 16626, wxYES_NO | wxICON_QUESTION, this) !=
      wxYES)
    return;
  RenameObserver(code);
}

void wxObserver::RenameObserver(const wxString& code) {
  const wxString old = g_observer;
  const bool archive = g_obs.IsArchive();
  const int archiveYear = g_obs.GetArchiveYear();
  SaveDatabaseOrAsk(g_obs, false);
  SaveDatabaseOrAsk(g_scope, false);
  g_obs.Close();
  g_scope.Close();

  const wxString folder = config->GetFolder(wxString(), FOLDER_DATAPATH);
  wxArrayString names;
  for (const char* ext : {".obs", ".scope", ".arch"}) names.Add(ext);
  // The yearly archives are renamed too: the program looks for them under
  // the observer's initials, and a renamed observer must not lose them.
  for (int year : pelk::YearlyArchiveYears(folder, old)) names.Add(wxString::Format("%04d.arch", year));
  wxString failed;
  for (const wxString& suffix : names) {
    const wxString from = folder + old + suffix;
    if (!wxFileExists(from)) continue;
    if (!wxRenameFile(from, folder + code + suffix, false)) failed += "\n" + from;
  }
  if (!failed.empty())
    ShowMessageText("These files could not be renamed and keep their old names:" + failed, 16626,
                    wxOK | wxICON_WARNING, myMainFrame);

  // The group is renamed where it lives: the toolkit renames groups of the
  // current path only.
  const wxString path = config->GetPath();
  config->SetPath("/User");
  config->RenameGroup(old, code);
  config->SetPath(path);
  wxString users = config->Read("Users", wxString());
  for (size_t i = 0; i + 3 <= users.length(); i += 3) {
    if (users.Mid(i, 3) == old) {
      users = users.Left(i) + code + users.Mid(i + 3);
      break;
    }
  }
  config->Write("Users", users);
  config->Write("User/LastUsed", code);

  g_observer = code;
  g_scope.Open();
  g_obs.Open(archive, archiveYear);
  if (myMainFrame) myMainFrame->SetTitle();
}
