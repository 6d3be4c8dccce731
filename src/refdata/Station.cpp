#include "refdata/Station.h"

#include <cstdlib>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/Message.h"
#include "astro/AstroTime.h"
#include "config/MyConfig.h"

static const int s_tooltips[] = {0, 0, ID_STATION_LONGITUDE, ID_STATION_LATITUDE, 0};

namespace {
// The whole text as a number; false when anything else is in it.
bool WholeNumber(const wxString& text, double* value) {
  return !text.empty() && text.ToCDouble(value);
}
}  // namespace

wxStation::wxStation(wxWindow* parent) : myPropPage(parent, 205) {
  SetHelpPage("mn_obsprop3.html");
  wxStaticBoxSizer* box = new wxStaticBoxSizer(wxVERTICAL, this, config->GetText(1306));
  wxFlexGridSizer* grid = new wxFlexGridSizer(2, 6, 8);
  grid->Add(new wxStaticText(box->GetStaticBox(), 1308, config->GetText(1308)), 0, wxALIGN_CENTER_VERTICAL);
  m_longitude = new wxTextCtrl(box->GetStaticBox(), ID_STATION_LONGITUDE, wxString(), wxDefaultPosition,
                               wxSize(120, -1));
  grid->Add(m_longitude);
  grid->Add(new wxStaticText(box->GetStaticBox(), 1310, config->GetText(1310)), 0, wxALIGN_CENTER_VERTICAL);
  m_latitude = new wxTextCtrl(box->GetStaticBox(), ID_STATION_LATITUDE, wxString(), wxDefaultPosition,
                              wxSize(120, -1));
  grid->Add(m_latitude);
  box->Add(grid, 0, wxALL, 8);
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(box, 0, wxEXPAND | wxALL, 10);
  SetSizer(top);
  config->SetToolTips(this, s_tooltips);
}

wxString wxStation::DefaultLongitude(int zoneHours) {
  const double t = zoneHours * 15.0;
  return wxString::Format("%c%3.1f", t >= 0 ? 'E' : 'W', t >= 0 ? t : -t);
}

bool wxStation::LongitudeValid(const wxString& text) {
  if (text.empty() || (text[0] != 'E' && text[0] != 'W')) return false;
  double v = 0;
  return WholeNumber(text.Mid(1), &v) && v >= 0 && v <= 180;
}

bool wxStation::LatitudeValid(const wxString& text) {
  double v = 0;
  return WholeNumber(text, &v) && v >= -90 && v <= 90;
}

void wxStation::OnInit() {
  const wxString group = "User/" + g_observer;
  wxAstroTime now;
  m_longitude->SetValue(config->Read(group + "/Longitude", DefaultLongitude(now.GetTZ())));
  m_latitude->SetValue(config->Read(group + "/Latitude", wxString::Format("%+3.1f", 45.0)));
}

bool wxStation::Validate() {
  if (LongitudeValid(m_longitude->GetValue()) && LatitudeValid(m_latitude->GetValue())) return true;
  ShowMessage(16619, 205, wxOK, this);
  return false;
}

void wxStation::OnOK() {
  if (!Validate()) return;
  const wxString group = "User/" + g_observer;
  config->Write(group + "/Longitude", m_longitude->GetValue());
  config->Write(group + "/Latitude", m_latitude->GetValue());
}
