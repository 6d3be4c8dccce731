// The "Station" page of the observer properties: the geographical
// coordinates of the observer's station.
#pragma once

#include "app/PropPage.h"

class wxTextCtrl;

enum { ID_STATION_LONGITUDE = 1307, ID_STATION_LATITUDE = 1309 };

class wxStation : public myPropPage {
 public:
  explicit wxStation(wxWindow* parent);

  void OnInit() override;
  void OnOK() override;
  // Checks both fields; shows the error message itself.
  bool Validate() override;

  // The checks alone: "E" or "W" and 0 to 180; a signed number -90 to 90.
  static bool LongitudeValid(const wxString& text);
  static bool LatitudeValid(const wxString& text);
  // The longitude offered for a time zone in hours (zone 1 gives E15.0).
  static wxString DefaultLongitude(int zoneHours);

  wxTextCtrl* Longitude() const { return m_longitude; }
  wxTextCtrl* Latitude() const { return m_latitude; }

 private:
  wxTextCtrl* m_longitude = nullptr;
  wxTextCtrl* m_latitude = nullptr;
};
