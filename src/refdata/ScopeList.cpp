#include "refdata/ScopeList.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

#include "app/Message.h"
#include "config/MyConfig.h"
#include "db/DbScope.h"
#include "db/Latin1.h"
#include "refdata/Scope.h"

wxBEGIN_EVENT_TABLE(wxScopeList, myPropPage)
  EVT_BUTTON(ID_SCOPELIST_ADD, wxScopeList::OnNew)
  EVT_BUTTON(ID_SCOPELIST_MODIFY, wxScopeList::OnModify)
  EVT_BUTTON(ID_SCOPELIST_REMOVE, wxScopeList::OnRemove)
wxEND_EVENT_TABLE()

namespace {

const int kTextModifyScope = 16473;
const int kTextDeleteScope = 16474;
const int kTextReallyDelete = 16475;
const int kTextNakedEyeNotModified = 16537;
const int kTextNakedEyeNotDeleted = 16538;
const int kTextScopeExists = 16560;
const int kTextAddScope = 16561;

const int s_tooltips[] = {0, 0, ID_SCOPELIST_ADD, ID_SCOPELIST_MODIFY, ID_SCOPELIST_REMOVE, ID_SCOPELIST_LIST, 0};

wxString NameOf(const TScope_data& scope) { return pelk::FromLatin1(scope.name, sizeof scope.name); }

// The record of the scope the list shows as `name`; false when there is none.
bool FindScope(const wxString& name, TScope_data* scope) {
  const std::string key = pelk::ToLatin1(name);
  const int index = g_scope.GetIndex(key.c_str(), 0);
  return index >= 0 && g_scope.Get(index, scope) == 1;
}

}  // namespace

wxScopeList::wxScopeList(wxWindow* parent) : myPropPage(parent, ID_SCOPELIST_PAGE) {
  SetHelpPage("mn_obsprop2.html");
  m_list = new wxListBox(this, ID_SCOPELIST_LIST, wxDefaultPosition, wxSize(200, 220), 0, nullptr, wxLB_SINGLE);

  wxBoxSizer* buttons = new wxBoxSizer(wxVERTICAL);
  buttons->Add(new wxButton(this, ID_SCOPELIST_ADD, config->GetText(ID_SCOPELIST_ADD)), 0, wxEXPAND | wxBOTTOM, 6);
  buttons->Add(new wxButton(this, ID_SCOPELIST_REMOVE, config->GetText(ID_SCOPELIST_REMOVE)), 0,
               wxEXPAND | wxBOTTOM, 6);
  buttons->Add(new wxButton(this, ID_SCOPELIST_MODIFY, config->GetText(ID_SCOPELIST_MODIFY)), 0, wxEXPAND);

  wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(m_list, 1, wxEXPAND | wxALL, 10);
  top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);
  config->SetToolTips(this, s_tooltips);
}

void wxScopeList::OnInit() {
  m_list->Clear();
  TScope_data scope;
  for (int i = 0; i < g_scope.GetCount(); ++i)
    if (g_scope.Get(i, &scope) == 1) m_list->Append(NameOf(scope));
}

void wxScopeList::OnOK() {
  // The sheet closes either way; a file that cannot be written is not
  // passed over in silence.
  SaveDatabaseOrAsk(g_scope, false);
}

void wxScopeList::OnNew(wxCommandEvent&) {
  wxScope dlg(this, false);
  if (dlg.ShowModal() != wxID_OK) return;
  TScope_data scope;
  if (wxDbScope::Fill(&scope, dlg.GetScopeName(), dlg.GetScopeType(), dlg.GetScopeParameters()) != 0) return;
  if (g_scope.GetIndex(scope.name, 0) >= 0) {
    ShowMessage(kTextScopeExists, kTextAddScope, wxOK, this);
    return;
  }
  if (g_scope.Insert(&scope) != 0) return;
  m_list->Append(NameOf(scope));
}

bool wxScopeList::SelectedScope(int nakedEyeTextId, int captionId, int* selection, wxString* name) {
  *selection = m_list->GetSelection();
  if (*selection == wxNOT_FOUND) return false;
  *name = m_list->GetString((unsigned)*selection);
  if (*name == wxDbScope::kNakedEye) {
    ShowMessage(nakedEyeTextId, captionId, wxOK, this);
    return false;
  }
  return true;
}

void wxScopeList::OnModify(wxCommandEvent&) {
  int selection;
  wxString name;
  if (!SelectedScope(kTextNakedEyeNotModified, kTextModifyScope, &selection, &name)) return;
  TScope_data scope;
  if (!FindScope(name, &scope)) return;

  wxScope dlg(this, true);
  dlg.SetScope(NameOf(scope), scope.type, pelk::FromLatin1(scope.parameters, sizeof scope.parameters));
  if (dlg.ShowModal() != wxID_OK) return;
  TScope_data changed;
  if (wxDbScope::Fill(&changed, NameOf(scope), dlg.GetScopeType(), dlg.GetScopeParameters()) != 0) return;
  if (g_scope.Change(&changed) != 0) return;
  // The list shows the changed scope last; the file keeps its order.
  m_list->Delete((unsigned)selection);
  m_list->Append(name);
}

void wxScopeList::OnRemove(wxCommandEvent&) {
  int selection;
  wxString name;
  if (!SelectedScope(kTextNakedEyeNotDeleted, kTextDeleteScope, &selection, &name)) return;
  const wxString question = wxString::Format(config->GetText(kTextReallyDelete), name);
  if (ShowMessageText(question, kTextDeleteScope, wxYES_NO | wxICON_QUESTION, this) != wxYES) return;
  TScope_data scope;
  if (!FindScope(name, &scope) || g_scope.Delete(&scope) != 0) return;
  m_list->Delete((unsigned)selection);
}
