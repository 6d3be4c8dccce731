// One instant as a Julian Date in Universal Time, with the observer's time
// zone and daylight-saving flag: conversions between UT, local civil time
// and JD, the daylight-saving rule, display formats, sidereal time and the
// Moon's phase.
#pragma once

#include <wx/string.h>

// Bits of wxAstroTime::Format.
enum {
  ASTRO_FMT_DATE = 1,         // "%04d.%02d.%02d"
  ASTRO_FMT_TIME = 2,         // "%02d:%02d:%02d"
  ASTRO_FMT_TIME_SHORT = 4,   // "%02d:%02d" (only when bit 2 is clear)
  ASTRO_FMT_LOCAL = 8         // local time instead of UT
};

class wxAstroTime {
 public:
  // Takes the system's time zone, then the present moment.
  wxAstroTime();
  virtual ~wxAstroTime() = default;

  int Now();
  // Sets the instant from a UT date and time; daylight saving is decided
  // for that date.
  int SetDateTimeUTC(int year, int month, int day, int hour, int minute, int second);
  // Sets the instant from a local date and time; daylight saving is decided
  // for the local date.
  int SetDateTimeLocal(int year, int month, int day, int hour, int minute, int second);
  // Stores the JD as given; daylight saving is decided for the date whose
  // noon UT begins the instant's astronomical day (the evening of the night).
  int SetDateTimeJD(double jd);
  // An instant within half a second before midnight reads as 00:00:00 of
  // the next date, never as hour 24.
  int GetDateTimeUTC(int* year, int* month, int* day, int* hour, int* minute, int* second) const;
  int GetDateTimeLocal(int* year, int* month, int* day, int* hour, int* minute, int* second) const;
  int GetDateTimeJD(double* jd) const;
  int SetTZ(int hours);
  int GetTZ() const { return m_tz; }
  int GetDST() const { return m_dst; }

  // Calendar date of a Julian Day Number.
  static int jd2ymd(long jdn, int* year, int* month, int* day);
  // Decides the daylight-saving flag for a date given as its day number,
  // month and day of the month.
  int setDST(long jdn, int month, int day);
  // JD of a date and time; with `local` set it is taken as local time and
  // the system's zone is applied. The date's daylight-saving flag is written
  // through `dst` when given.
  static double DateTime2JD(int year, int month, int day, int hour, int minute, int second, bool local,
                            int* dst);
  wxString Format(long flags) const;
  // True when the instant falls in the night of a daylight-saving change,
  // in local time.
  static bool checkDSTnight(double jd);

  // Local mean sidereal time in seconds [0, 86400) for a longitude in
  // degrees, east positive.
  double lst_seconds(double longitude) const;
  int GetLST(double longitude, int* hour, int* minute, int* second) const;
  // Illuminated fraction of the Moon (0 to 1); `waxing` receives whether it
  // waxes.
  double MoonPhase(bool* waxing) const;

  // Day number of a calendar date (proleptic Gregorian).
  static long DayNumber(int year, int month, int day);
  // The daylight-saving rule: 1 from the last Sunday of March to the day
  // before the last Sunday of October, by date alone.
  static int DstForDate(long jdn, int month, int day);

 private:
  // The system's standard-time zone in whole hours east of Greenwich.
  static int SystemZone();
  static void Split(double jd, int* year, int* month, int* day, int* hour, int* minute, int* second);

  double m_jd = 2451545.0;
  int m_dst = 0;
  int m_tz = 0;
};

// Low-precision Sun and Moon. `d` is the number of days since J2000.0
// (JD 2451545.0, 2000 January 1, 12h); angles are radians unless stated.
double moonphase(double d, double longitude, double latitude, double* brightLimb);
void moonpos(double d, double* lambda, double* beta, double* dist);
void sunpos(double d, double* lambda, double* beta, double* dist);
void equatorial(double d, double* lon, double* lat, double* dist);
void topo(double theta, double phi, double* ra, double* dec, double* dist);
void illumination(double unused1, double unused2, double ra, double dec, double ratio, double ra0, double dec0,
                  double* brightLimb, double* fraction);
double gst(double d);
double epsilon(double d);
double range(double x);
double rangerad(double x);
double atan22(double y, double x);
