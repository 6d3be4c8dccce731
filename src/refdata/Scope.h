// The dialog that asks for one scope: its name, its type and its optical
// parameters, checked against what is plausible for the type.
#pragma once

#include <vector>
#include <wx/dialog.h>
#include <wx/string.h>

class wxChoice;
class wxStaticText;
class wxTextCtrl;

enum {
  ID_SCOPE_PARAMS = 1011,
  ID_SCOPE_TYPE = 1031,
  ID_SCOPE_NAME = 1032,
  ID_SCOPE_NAME_LABEL = 1203,
  ID_SCOPE_TYPE_LABEL = 1204,
  ID_SCOPE_PARAMS_LABEL = 1205
};

// One item of the scope type list, e.g. "03/Newtonian".
struct TScopeType {
  int number;          // the first two characters read as a number
  wxChar separator;    // 'x' or '/': what the type's parameters are written with
  wxString display;    // what the type choice shows
};

class wxScope : public wxDialog {
 public:
  // With `modify` the name cannot be changed.
  wxScope(wxWindow* parent, bool modify);

  // What the dialog opens with; a name makes it a "Modify scope" dialog.
  void SetScope(const wxString& name, int type, const wxString& parameters);
  // What was accepted with OK. The type is -1 when no type was selected.
  const wxString& GetScopeName() const { return m_name; }
  int GetScopeType() const { return m_type; }
  const wxString& GetScopeParameters() const { return m_parameters; }

  // The scope type list as the current language gives it.
  static std::vector<TScopeType> ScopeTypes();
  // Whether parameters are plausible for a type: 0, or the text id of the
  // message that says what is wrong.
  static int CheckParameters(const TScopeType& type, const wxString& parameters);

  wxTextCtrl* NameField() const { return m_nameField; }
  wxChoice* TypeChoice() const { return m_typeChoice; }
  wxTextCtrl* ParametersField() const { return m_parametersField; }
  const wxString& GetParametersLabel() const { return m_parametersLabel; }

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnSelchangeType(wxCommandEvent& event);
  void OnOK(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);
  // Shows the parameters label that fits the selected type.
  void UpdateParametersLabel();

  wxString m_name;
  wxString m_parameters;
  int m_type = 0;
  wxString m_parametersLabel;
  std::vector<TScopeType> m_types;

  wxTextCtrl* m_nameField = nullptr;
  wxChoice* m_typeChoice = nullptr;
  wxStaticText* m_parametersText = nullptr;
  wxTextCtrl* m_parametersField = nullptr;
  wxDECLARE_EVENT_TABLE();
};
