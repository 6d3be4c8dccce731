// The window side of the configuration store: choice filling, tooltips,
// list-column widths and the help book.
#include <wx/ctrlsub.h>
#include <wx/html/helpctrl.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/window.h>

#include "config/MyConfig.h"

int wxMyConfig::FillCombo(wxControlWithItems* choice, const wxString& listText) {
  if (!choice) return 0;
  for (const wxString& entry : SplitList(listText)) choice->Append(entry);
  return 1;
}

int wxMyConfig::FillCombo(wxWindow* dialog, int controlId, int textId) {
  return FillCombo(dialog, controlId, GetText(textId));
}

int wxMyConfig::FillCombo(wxWindow* dialog, int controlId, const wxString& listText) {
  wxControlWithItems* choice =
      dialog ? dynamic_cast<wxControlWithItems*>(dialog->FindWindow(controlId)) : nullptr;
  return FillCombo(choice, listText);
}

void wxMyConfig::SetToolTip(wxWindow* dialog, int controlId, int textId) {
  wxCHECK_RET(dialog, "SetToolTip needs a dialog");
  if (controlId == 0 || !get(textId)) return;
  if (wxWindow* control = dialog->FindWindow(controlId)) control->SetToolTip(GetText(textId));
}

int wxMyConfig::SetToolTips(wxWindow* dialog, const int* tooltipList) {
  wxCHECK_MSG(tooltipList, 0, "SetToolTips needs a list");
  if (Read("Features/UseTooltips", "No") != "Yes") return 0;
  // The OK and Cancel entries are text ids (an id below 10000 is a control
  // id whose tooltip is 10000 further on); the control ids follow.
  SetToolTip(dialog, wxID_OK, tooltipList[0] > 9999 ? tooltipList[0] : tooltipList[0] + 10000);
  SetToolTip(dialog, wxID_CANCEL, tooltipList[1] > 9999 ? tooltipList[1] : tooltipList[1] + 10000);
  for (int i = 2; tooltipList[i] > 0; ++i) SetToolTip(dialog, tooltipList[i], tooltipList[i] + 10000);
  return 0;
}

void wxMyConfig::InitHelp() {
  delete m_help;
  m_help = nullptr;
  wxHtmlHelpController* help = new wxHtmlHelpController(wxHF_DEFAULT_STYLE);
  wxString book = GetText(102);
  if (book.empty()) book = "pelk_en";
  {
    // A missing book is no error worth a box: help then shows nothing.
    wxLogNull quiet;
    help->Initialize(GetFolder(book, FOLDER_PROGRAM));
  }
  m_help = help;
}

void wxMyConfig::DisplayHelp(const wxString& page) {
  if (!m_help) InitHelp();
  wxHtmlHelpController* help = dynamic_cast<wxHtmlHelpController*>(m_help);
  if (!help) return;
  wxLogNull quiet;
  if (page.empty())
    help->DisplayContents();
  else
    help->Display(page);
}

void wxMyConfig::SetColumnSize(wxListCtrl* list, const int* columnTextIds, int count,
                               const int* defaultWidths, const wxString& prefix) {
  if (!list) return;
  for (int i = 0; i < count; ++i) {
    wxString stored = Read(wxString::Format("%s/brCol%d", prefix, i), "0");
    int width = ColumnWidth(stored, defaultWidths ? defaultWidths[i] : 0);
    list->InsertColumn(i, GetText(columnTextIds ? columnTextIds[i] : 0), wxLIST_FORMAT_LEFT, width);
  }
}

void wxMyConfig::SaveColumnSize(wxListCtrl* list, int count, const wxString& prefix) {
  if (!list) return;
  for (int i = 0; i < count; ++i)
    Write(wxString::Format("%s/brCol%d", prefix, i), wxString::Format("%d", list->GetColumnWidth(i)));
}
