#include "app/PropPage.h"

#include "config/MyConfig.h"

myPropPage::myPropPage(wxWindow* parent, int titleId)
    : wxPanel(parent, titleId, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, "proppage") {}

void myPropPage::OnHelp() { config->DisplayHelp(m_helpPage); }
