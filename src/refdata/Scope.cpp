#include "refdata/Scope.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/DialogButtons.h"
#include "app/DialogEnd.h"
#include "app/Message.h"
#include "config/MyConfig.h"
#include "db/DbScope.h"
#include "db/Latin1.h"

wxBEGIN_EVENT_TABLE(wxScope, wxDialog)
  EVT_INIT_DIALOG(wxScope::OnInitDialog)
  EVT_CHOICE(ID_SCOPE_TYPE, wxScope::OnSelchangeType)
  EVT_BUTTON(wxID_OK, wxScope::OnOK)
  EVT_BUTTON(wxID_HELP, wxScope::OnHelp)
wxEND_EVENT_TABLE()

namespace {

const int kTextNewScope = 136;
const int kTextModifyScope = 16473;
const int kTextDiameterFocalLength = 1205;
const int kTextMagnificationDiameter = 1252;
const int kTextScopeTypes = 16562;
const int kTextNoNameOrType = 16524;
const int kTextBadParameters = 16589;
const int kTextSizeBetween = 16618;

const int s_tooltips[] = {12008, 5101, ID_SCOPE_NAME, ID_SCOPE_TYPE, ID_SCOPE_PARAMS, wxID_HELP, 0};

// Plausible values: binoculars from 4x25 to 200x250, telescopes from
// 40/100 to 10000/100000 (millimetres).
const long kMinMagnification = 4, kMaxMagnification = 200;
const long kMinBinocularDiameter = 25, kMaxBinocularDiameter = 250;
const long kMinDiameter = 40, kMaxDiameter = 10000;
const long kMinFocalLength = 100, kMaxFocalLength = 100000;

bool Within(long value, long low, long high) { return value >= low && value <= high; }

}  // namespace

wxScope::wxScope(wxWindow* parent, bool modify)
    : wxDialog(parent, wxID_ANY, config->GetText(kTextNewScope)), m_types(ScopeTypes()) {
  wxFlexGridSizer* grid = new wxFlexGridSizer(2, 6, 8);
  grid->AddGrowableCol(1);

  grid->Add(new wxStaticText(this, ID_SCOPE_NAME_LABEL, config->GetText(ID_SCOPE_NAME_LABEL)), 0,
            wxALIGN_CENTER_VERTICAL);
  m_nameField = new wxTextCtrl(this, ID_SCOPE_NAME, wxString(), wxDefaultPosition, wxSize(160, -1));
  // The record holds 15 characters of name and of parameters; the fields
  // take no more.
  m_nameField->SetMaxLength(wxDbScope::kNameMax);
  m_nameField->Enable(!modify);
  grid->Add(m_nameField, 1, wxEXPAND);

  grid->Add(new wxStaticText(this, ID_SCOPE_TYPE_LABEL, config->GetText(ID_SCOPE_TYPE_LABEL)), 0,
            wxALIGN_CENTER_VERTICAL);
  m_typeChoice = new wxChoice(this, ID_SCOPE_TYPE);
  for (const TScopeType& type : m_types) m_typeChoice->Append(type.display);
  grid->Add(m_typeChoice, 1, wxEXPAND);

  // The label changes with the type; it is as wide as the wider of its texts.
  m_parametersText = new wxStaticText(this, ID_SCOPE_PARAMS_LABEL, config->GetText(kTextMagnificationDiameter));
  wxSize labelSize = m_parametersText->GetBestSize();
  m_parametersText->SetLabel(config->GetText(kTextDiameterFocalLength));
  labelSize.IncTo(m_parametersText->GetBestSize());
  m_parametersText->SetMinSize(labelSize);
  grid->Add(m_parametersText, 0, wxALIGN_CENTER_VERTICAL);
  m_parametersField = new wxTextCtrl(this, ID_SCOPE_PARAMS);
  m_parametersField->SetMaxLength(wxDbScope::kParametersMax);
  grid->Add(m_parametersField, 1, wxEXPAND);

  wxSizer* buttons = MakeOkCancelRow(this);
  buttons->Add(new wxButton(this, wxID_HELP, config->GetText(5009)), 0, wxALL, 4);

  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 1, wxEXPAND | wxALL, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, 6);
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

std::vector<TScopeType> wxScope::ScopeTypes() {
  std::vector<TScopeType> types;
  for (const wxString& item : config->GetList(kTextScopeTypes)) {
    TScopeType type;
    type.number = (int)pelk::DecimalValue(item.Left(2));
    type.separator = item.length() > 2 ? (wxChar)item[2] : wxChar(0);
    type.display = item.Mid(3);
    types.push_back(type);
  }
  return types;
}

int wxScope::CheckParameters(const TScopeType& type, const wxString& parameters) {
  const size_t at = type.separator ? parameters.find(type.separator) : wxString::npos;
  if (at == wxString::npos) return kTextBadParameters;
  // Longer parameters would be cut short in the record.
  if (pelk::ToLatin1(parameters).size() > (size_t)wxDbScope::kParametersMax) return kTextBadParameters;
  const long before = pelk::DecimalValue(parameters.substr(0, at));
  const long after = pelk::DecimalValue(parameters.substr(at + 1));
  if (type.separator == 'x') {
    // The limiting magnitude is read from the number before a "/" when
    // there is one: binocular parameters with a "/" would give it from the
    // wrong number.
    if (parameters.find('/') != wxString::npos) return kTextBadParameters;
    if (!Within(before, kMinMagnification, kMaxMagnification) ||
        !Within(after, kMinBinocularDiameter, kMaxBinocularDiameter))
      return kTextBadParameters;
  } else if (!Within(before, kMinDiameter, kMaxDiameter) || !Within(after, kMinFocalLength, kMaxFocalLength)) {
    return kTextBadParameters;
  }
  return 0;
}

void wxScope::SetScope(const wxString& name, int type, const wxString& parameters) {
  m_name = name;
  m_type = type;
  m_parameters = parameters;
}

void wxScope::OnInitDialog(wxInitDialogEvent& event) {
  int selection = 0;
  if (!m_name.empty()) {
    SetTitle(config->GetText(kTextModifyScope));
    m_nameField->SetValue(m_name);
    m_parametersField->SetValue(m_parameters);
    for (size_t i = 0; i < m_types.size(); ++i) {
      if (m_types[i].number == m_type) {
        selection = (int)i;
        break;
      }
    }
  }
  if (!m_types.empty()) m_typeChoice->SetSelection(selection);
  UpdateParametersLabel();
  event.Skip();
}

void wxScope::OnSelchangeType(wxCommandEvent&) { UpdateParametersLabel(); }

void wxScope::UpdateParametersLabel() {
  const int selection = m_typeChoice->GetSelection();
  const bool binocular =
      selection >= 0 && selection < (int)m_types.size() && m_types[(size_t)selection].separator == 'x';
  m_parametersLabel = config->GetText(binocular ? kTextMagnificationDiameter : kTextDiameterFocalLength);
  m_parametersText->SetLabel(m_parametersLabel);
  Layout();
}

void wxScope::OnOK(wxCommandEvent&) {
  m_name = m_nameField->GetValue();
  m_parameters = m_parametersField->GetValue();
  const int selection = m_typeChoice->GetSelection();
  const TScopeType* type =
      selection >= 0 && selection < (int)m_types.size() ? &m_types[(size_t)selection] : nullptr;
  m_type = type ? type->number : -1;

  if (m_name.empty() || !type || m_parameters.empty()) {
    ShowMessage(kTextNoNameOrType, kTextNewScope, wxOK, this);
    return;
  }
  // The field keeps to the record's size; a name that came in some other
  // way must not be cut short silently.
  if (pelk::ToLatin1(m_name).size() > (size_t)wxDbScope::kNameMax) {
    ShowMessageText(wxString::Format(config->GetText(kTextSizeBetween), 1, wxDbScope::kNameMax), kTextNewScope,
                    wxOK, this);
    return;
  }
  const int problem = CheckParameters(*type, m_parameters);
  if (problem != 0) {
    ShowMessage(problem, kTextNewScope, wxOK, this);
    return;
  }
  EndDialogWith(this, wxID_OK);
}

void wxScope::OnHelp(wxCommandEvent&) { config->DisplayHelp("mn_newscope.html"); }
