// Civil time, Julian Date, daylight saving, sidereal time and the Moon,
// checked against published values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "TempHome.h"
#include "astro/AstroTime.h"

using pelk_test::ScopedTZ;

namespace {


// Central Europe, one hour east, without any daylight-saving rule of the
// system's own: only the program's rule applies.
const char* const kCET = "CET-1";

struct DateTime {
  int y, mo, d, h, mi, s;
};

DateTime UtcOf(const wxAstroTime& t) {
  DateTime r;
  t.GetDateTimeUTC(&r.y, &r.mo, &r.d, &r.h, &r.mi, &r.s);
  return r;
}

DateTime LocalOf(const wxAstroTime& t) {
  DateTime r;
  t.GetDateTimeLocal(&r.y, &r.mo, &r.d, &r.h, &r.mi, &r.s);
  return r;
}

std::string Text(const DateTime& t) {
  char buf[64];
  snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.y, t.mo, t.d, t.h, t.mi, t.s);
  return buf;
}

double JdOf(const wxAstroTime& t) {
  double jd = 0;
  t.GetDateTimeJD(&jd);
  return jd;
}

// ---------------------------------------------------------------------------
// Julian Date

TEST(JulianDate, PublishedDatesConvertBothWays) {
  struct Case {
    DateTime ut;
    double jd;
  } cases[] = {
      {{2000, 1, 1, 12, 0, 0}, 2451545.0},
      {{2000, 1, 1, 0, 0, 0}, 2451544.5},
      {{1957, 10, 4, 19, 26, 24}, 2436116.31},
      {{1987, 1, 27, 0, 0, 0}, 2446822.5},
      {{1988, 6, 19, 12, 0, 0}, 2447332.0},
      {{1900, 1, 1, 0, 0, 0}, 2415020.5},
      {{1600, 1, 1, 0, 0, 0}, 2305447.5},
      {{1999, 1, 1, 0, 0, 0}, 2451179.5},
      {{2000, 2, 29, 0, 0, 0}, 2451603.5},
      {{2001, 3, 1, 0, 0, 0}, 2451969.5},
      {{2003, 7, 1, 20, 0, 0}, 2452822.333333333},
      {{2100, 12, 31, 23, 59, 59}, 2488434.499988426},
  };
  wxAstroTime t;
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.ut));
    t.SetDateTimeUTC(c.ut.y, c.ut.mo, c.ut.d, c.ut.h, c.ut.mi, c.ut.s);
    EXPECT_NEAR(JdOf(t), c.jd, 1e-8);
    EXPECT_NEAR(wxAstroTime::DateTime2JD(c.ut.y, c.ut.mo, c.ut.d, c.ut.h, c.ut.mi, c.ut.s, false, nullptr), c.jd,
                1e-8);
    t.SetDateTimeJD(c.jd);
    EXPECT_EQ(Text(UtcOf(t)), Text(c.ut));
  }
}

TEST(JulianDate, EveryDayFrom1600To2400RoundTrips) {
  // Consecutive day numbers must give consecutive calendar dates, and each
  // date must give its day number back: a slip in either formula shows up
  // at some month or century boundary.
  const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int y = 1600, m = 1, d = 1;
  for (long jdn = wxAstroTime::DayNumber(1600, 1, 1); y < 2400; ++jdn) {
    int gy, gm, gd;
    wxAstroTime::jd2ymd(jdn, &gy, &gm, &gd);
    ASSERT_EQ(gy * 10000 + gm * 100 + gd, y * 10000 + m * 100 + d) << "day number " << jdn;
    ASSERT_EQ(wxAstroTime::DayNumber(y, m, d), jdn);
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int length = monthDays[m - 1] + (m == 2 && leap ? 1 : 0);
    if (++d > length) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
}

TEST(JulianDate, TimesOfDayRoundTripToTheSecond) {
  wxAstroTime t;
  for (int year : {1900, 1999, 2000, 2024, 2099}) {
    for (int second = 0; second < 86400; second += 7) {
      const DateTime in{year, 2, 28, second / 3600, second / 60 % 60, second % 60};
      t.SetDateTimeUTC(in.y, in.mo, in.d, in.h, in.mi, in.s);
      ASSERT_EQ(Text(UtcOf(t)), Text(in));
    }
  }
}

TEST(JulianDate, SplitRoundsToTheNearestSecondAndCarriesPastMidnight) {
  const double base = 2451544.5;  // 2000-01-01 00:00 UT
  struct Case {
    double seconds;  // into the day
    DateTime ut;
  } cases[] = {
      {0.0, {2000, 1, 1, 0, 0, 0}},
      {12 * 3600 + 34 * 60 + 56.6, {2000, 1, 1, 12, 34, 57}},
      {12 * 3600 + 34 * 60 + 56.4, {2000, 1, 1, 12, 34, 56}},
      {59.7, {2000, 1, 1, 0, 1, 0}},
      {3599.8, {2000, 1, 1, 1, 0, 0}},
      {86399.4, {2000, 1, 1, 23, 59, 59}},
      // Within half a second of midnight: the next date, never hour 24.
      {86399.6, {2000, 1, 2, 0, 0, 0}},
      {86399.99, {2000, 1, 2, 0, 0, 0}},
  };
  wxAstroTime t;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    t.SetDateTimeJD(base + c.seconds / 86400.0);
    EXPECT_EQ(Text(UtcOf(t)), Text(c.ut));
  }
  // The last day of a year carries into the next year.
  t.SetDateTimeJD(wxAstroTime::DateTime2JD(2003, 12, 31, 23, 59, 59, false, nullptr) + 0.7 / 86400);
  EXPECT_EQ(Text(UtcOf(t)), "2004-01-01 00:00:00");
}

TEST(JulianDate, NowIsTheSystemClock) {
  const time_t before = time(nullptr);
  wxAstroTime t;
  const time_t after = time(nullptr);
  const double jd = JdOf(t);
  EXPECT_GE(jd, 2440587.5 + (before - 1) / 86400.0);
  EXPECT_LE(jd, 2440587.5 + (after + 1) / 86400.0);
}

// ---------------------------------------------------------------------------
// Daylight saving

TEST(DaylightSaving, DecidedByTheDateAlone) {
  struct Case {
    int y, mo, d, dst;
  } cases[] = {
      {2003, 3, 29, 0},  {2003, 3, 30, 1},  {2003, 3, 31, 1},  {2003, 3, 24, 0},  {2003, 10, 25, 1},
      {2003, 10, 26, 0}, {2003, 10, 31, 0}, {2003, 10, 1, 1},  {2019, 3, 30, 0},  {2019, 3, 31, 1},
      {2021, 10, 30, 1}, {2021, 10, 31, 0}, {1990, 3, 24, 0},  {1990, 3, 25, 1},  {1990, 10, 27, 1},
      {1990, 10, 28, 0}, {2100, 3, 27, 0},  {2100, 3, 28, 1},  {2100, 10, 30, 1}, {2100, 10, 31, 0},
      {2003, 11, 1, 0},  {2003, 12, 31, 0}, {2004, 1, 15, 0},  {2004, 2, 29, 0},  {2003, 4, 1, 1},
      {2003, 6, 21, 1},  {2003, 9, 30, 1},
  };
  wxAstroTime t;
  for (const Case& c : cases) {
    SCOPED_TRACE(Text({c.y, c.mo, c.d, 0, 0, 0}));
    // The hour never matters.
    for (int hour : {0, 12, 23}) {
      t.SetDateTimeUTC(c.y, c.mo, c.d, hour, 0, 0);
      EXPECT_EQ(t.GetDST(), c.dst);
    }
    int dst = -1;
    wxAstroTime::DateTime2JD(c.y, c.mo, c.d, 12, 0, 0, false, &dst);
    EXPECT_EQ(dst, c.dst);
    t.setDST(wxAstroTime::DayNumber(c.y, c.mo, c.d), c.mo, c.d);
    EXPECT_EQ(t.GetDST(), c.dst);
  }
}

TEST(DaylightSaving, EveryMarchAndOctoberChangesOnItsLastSunday) {
  // Over four centuries, on both sides of the reference Sunday: exactly one
  // change a month, on a Sunday, within the last seven days.
  for (int year = 1800; year <= 2200; ++year) {
    for (int month : {3, 10}) {
      int changes = 0;
      for (int day = 2; day <= 31; ++day) {
        const long jdn = wxAstroTime::DayNumber(year, month, day);
        const int before = wxAstroTime::DstForDate(jdn - 1, month, day - 1);
        const int now = wxAstroTime::DstForDate(jdn, month, day);
        if (before != now) {
          ++changes;
          EXPECT_GE(day, 25);
          EXPECT_EQ(((jdn % 7) + 7) % 7, 6) << year << "-" << month << "-" << day << " is no Sunday";
          EXPECT_EQ(now, month == 3 ? 1 : 0);
        }
      }
      EXPECT_EQ(changes, 1) << year << "-" << month;
    }
  }
}

TEST(DaylightSaving, MonthZeroForABareTimeOfDay) {
  int dst = -1;
  const double a = wxAstroTime::DateTime2JD(0, 0, 0, 10, 30, 0, false, &dst);
  const double b = wxAstroTime::DateTime2JD(0, 0, 0, 10, 31, 0, false, nullptr);
  EXPECT_EQ(dst, 0);
  EXPECT_NEAR(b - a, 60.0 / 86400, 1e-9);
}

// ---------------------------------------------------------------------------
// Time zone and local time

TEST(LocalTime, ZoneComesFromTheSystemInWholeHours) {
  struct Case {
    const char* tz;
    int zone;
  } cases[] = {{"CET-1", 1}, {"UTC0", 0}, {"EST5", -5}, {"IST-5:30", 5}, {"NPT-5:45", 5}, {"NST3:30", -3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tz);
    ScopedTZ tz(c.tz);
    wxAstroTime t;
    EXPECT_EQ(t.GetTZ(), c.zone);
    // The static conversion reads the zone at each call.
    EXPECT_NEAR(wxAstroTime::DateTime2JD(2003, 1, 15, 12, 0, 0, true, nullptr),
                wxAstroTime::DateTime2JD(2003, 1, 15, 12, 0, 0, false, nullptr) - c.zone / 24.0, 1e-9);
  }
}

TEST(LocalTime, ConvertsWithZoneAndDaylightSaving) {
  ScopedTZ tz(kCET);
  struct Case {
    DateTime local, ut;
  } cases[] = {
      {{2003, 7, 1, 22, 0, 0}, {2003, 7, 1, 20, 0, 0}},
      {{2003, 1, 15, 22, 0, 0}, {2003, 1, 15, 21, 0, 0}},
      {{2003, 7, 1, 1, 30, 0}, {2003, 6, 30, 23, 30, 0}},
      {{2004, 1, 1, 0, 30, 0}, {2003, 12, 31, 23, 30, 0}},
  };
  wxAstroTime t;
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.local));
    t.SetDateTimeLocal(c.local.y, c.local.mo, c.local.d, c.local.h, c.local.mi, c.local.s);
    EXPECT_EQ(Text(UtcOf(t)), Text(c.ut));
    EXPECT_EQ(Text(LocalOf(t)), Text(c.local));
    const double jd = JdOf(t);
    EXPECT_NEAR(jd, wxAstroTime::DateTime2JD(c.ut.y, c.ut.mo, c.ut.d, c.ut.h, c.ut.mi, c.ut.s, false, nullptr),
                1e-8);
    int dst = -1;
    EXPECT_NEAR(wxAstroTime::DateTime2JD(c.local.y, c.local.mo, c.local.d, c.local.h, c.local.mi, c.local.s,
                                         true, &dst),
                jd, 1e-8);
    EXPECT_EQ(dst, t.GetDST());
  }
}

TEST(LocalTime, SetTZReplacesTheSystemZone) {
  ScopedTZ tz(kCET);
  wxAstroTime t;
  t.SetTZ(-5);
  EXPECT_EQ(t.GetTZ(), -5);
  t.SetDateTimeLocal(2003, 1, 15, 22, 0, 0);
  EXPECT_EQ(Text(UtcOf(t)), "2003-01-16 03:00:00");
  EXPECT_EQ(Text(LocalOf(t)), "2003-01-15 22:00:00");
}

TEST(LocalTime, ObservingNightKeepsTheRegimeOfItsEvening) {
  // After the spring change the small hours of the Sunday still read with
  // the Saturday evening's winter time.
  ScopedTZ tz(kCET);
  wxAstroTime t;
  t.SetDateTimeJD(wxAstroTime::DateTime2JD(2003, 3, 30, 1, 0, 0, false, nullptr));
  EXPECT_EQ(t.GetDST(), 0);
  EXPECT_EQ(Text(LocalOf(t)), "2003-03-30 02:00:00");
  t.SetDateTimeJD(wxAstroTime::DateTime2JD(2003, 3, 30, 13, 0, 0, false, nullptr));
  EXPECT_EQ(t.GetDST(), 1);
  EXPECT_EQ(Text(LocalOf(t)), "2003-03-30 15:00:00");
}

TEST(LocalTime, NightOfADaylightSavingChange) {
  ScopedTZ tz(kCET);
  struct Case {
    DateTime local;
    bool night;
  } cases[] = {
      {{2003, 3, 29, 21, 0, 0}, true},   {{2003, 3, 30, 2, 0, 0}, true},   {{2003, 3, 30, 14, 0, 0}, false},
      {{2003, 3, 29, 11, 0, 0}, false},  {{2003, 10, 25, 21, 0, 0}, true}, {{2003, 10, 26, 2, 0, 0}, true},
      {{2003, 10, 26, 14, 0, 0}, false}, {{2003, 10, 25, 11, 0, 0}, false}, {{2003, 10, 18, 21, 0, 0}, false},
      {{2003, 10, 19, 2, 0, 0}, false},  {{2003, 7, 5, 23, 0, 0}, false},  {{2021, 10, 30, 22, 0, 0}, true},
      {{2021, 10, 31, 3, 0, 0}, true},   {{2021, 10, 29, 22, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.local));
    const double jd =
        wxAstroTime::DateTime2JD(c.local.y, c.local.mo, c.local.d, c.local.h, c.local.mi, c.local.s, true, nullptr);
    EXPECT_EQ(wxAstroTime::checkDSTnight(jd), c.night);
  }
}

TEST(LocalTime, FormatFlags) {
  ScopedTZ tz(kCET);
  wxAstroTime t;
  t.SetDateTimeUTC(2003, 7, 1, 20, 0, 0);
  struct Case {
    long flags;
    const char* text;
  } cases[] = {
      {1 | 2, "2003.07.01 20:00:00"},
      {1 | 4, "2003.07.01 20:00"},
      {1 | 2 | 4, "2003.07.01 20:00:00"},
      {1, "2003.07.01"},
      {2, "20:00:00"},
      {4, "20:00"},
      {8 | 1, "2003.07.01"},
      {8 | 1 | 2, "2003.07.01 22:00:00"},
      {8 | 4, "22:00"},
      {8, ""},
      {16, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(t.Format(c.flags), c.text) << "flags " << c.flags;

  t.SetDateTimeJD(2451545.0);
  EXPECT_EQ(t.Format(0), "2451545.0000");
  // The local date moves on at local midnight.
  t.SetDateTimeUTC(2003, 7, 1, 23, 0, 0);
  EXPECT_EQ(t.Format(8 | 1 | 2), "2003.07.02 01:00:00");
}

// ---------------------------------------------------------------------------
// Sidereal time

TEST(SiderealTime, PublishedValues) {
  struct Case {
    double jd, longitude, seconds;
  } cases[] = {
      {2451545.0, 0, 67310.548},
      // 1987 April 10, 0h and 19:21 UT, mean sidereal time at Greenwich.
      {2446895.5, 0, 47446.3668},
      {2446895.5 + (19 * 60 + 21) / 1440.0, 0, 30897.0896},
      // 15 degrees east is one hour later, modulo a day.
      {2451545.0, 15, 67310.548 + 3600},
      {2451545.0, 90, 67310.548 + 21600 - 86400},
      {2451545.0, -180, 67310.548 - 43200},
  };
  wxAstroTime t;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.jd);
    t.SetDateTimeJD(c.jd);
    EXPECT_NEAR(t.lst_seconds(c.longitude), c.seconds, 0.01);
  }
  t.SetDateTimeJD(2451545.0);
  int h, m, s;
  t.GetLST(0, &h, &m, &s);
  EXPECT_EQ(h * 10000 + m * 100 + s, 184150);
}

TEST(SiderealTime, LongitudeShiftsWrapAndStayBelowOneDay) {
  wxAstroTime t;
  for (int i = 0; i < 2000; ++i) {
    const double jd = 2415020.5 + i * 36.5371;  // 1900 to 2100, all times of day
    t.SetDateTimeJD(jd);
    const double base = t.lst_seconds(0);
    ASSERT_GE(base, 0);
    ASSERT_LT(base, 86400);
    for (double lon : {15.0, -180.0, 179.99, -0.001}) {
      const double lst = t.lst_seconds(lon);
      ASSERT_GE(lst, 0);
      ASSERT_LT(lst, 86400);
      double diff = std::fmod(lst - base - 240 * lon + 2 * 86400, 86400.0);
      if (diff > 43200) diff -= 86400;
      ASSERT_NEAR(diff, 0, 1e-4) << jd << " " << lon;
    }
    int h, m, s;
    t.GetLST(-180, &h, &m, &s);
    ASSERT_LT(h, 24);
    ASSERT_LT(m, 60);
    ASSERT_LT(s, 60);
  }
}

TEST(SiderealTime, GmstHalfPastMidnightAtMinus180IsHalfPastNoon) {
  // Find an instant with Greenwich sidereal time 00:30 by walking back
  // from a known one, then look from the date line.
  wxAstroTime t;
  t.SetDateTimeJD(2451545.0);
  const double jd = 2451545.0 - (67310.548 - 1810) / 86400 / 1.00273790935;
  t.SetDateTimeJD(jd);
  ASSERT_NEAR(t.lst_seconds(0), 1810, 0.05);
  int h, m, s;
  t.GetLST(-180, &h, &m, &s);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(m, 30);
}

// ---------------------------------------------------------------------------
// Moon

// Illuminated fraction seen from longitude 0, latitude 0, and whether the
// Moon waxes (-1: within a day of new or full Moon, not judged), from an
// independent full-precision ephemeris: tests/fixtures/moon_reference.py
// prints this table.
struct MoonCase {
  double jd, fraction;
  int waxing;
};
const MoonCase kMoon[] = {
    {2415020.80000, 0.0007, -1}, {2447779.83670, 0.6935, 1},  {2484209.86216, 0.0274, 0},
    {2449680.30206, 0.7398, 0},  {2471139.15078, 0.8149, 1},  {2472795.12102, 0.9306, 1},
    {2483255.65533, 0.7195, 0},  {2433579.16334, 0.9880, 1},  {2473161.72164, 0.2975, 0},
    {2456995.64903, 0.9326, 1},  {2425172.63065, 0.3413, 0},  {2470198.40860, 0.9983, -1},
    {2428746.37212, 0.3734, 0},  {2474909.28689, 0.0093, -1}, {2425688.63449, 0.4743, 1},
    {2463073.72532, 0.3745, 1},  {2467146.51097, 0.1781, 1},  {2440135.98473, 1.0000, -1},
    {2445958.48062, 0.8095, 0},  {2485544.55957, 0.2774, 1},  {2430097.36604, 0.9826, 0},
    {2473121.81055, 0.9973, -1}, {2477137.66164, 0.9955, -1}, {2459163.95715, 0.3046, 0},
    {2458361.74835, 0.7929, 0},  {2447363.99687, 0.4502, 1},  {2484961.25873, 0.9314, 1},
    {2466468.33825, 0.2927, 1},  {2484282.25464, 0.9460, 1},  {2468392.25731, 0.6701, 1},
    {2481599.85439, 0.9263, 0},  {2450247.66094, 0.0775, 0},  {2479381.01312, 0.9545, 1},
    {2457569.31505, 0.2735, 0},  {2486963.01627, 0.2866, 1},  {2431033.59490, 0.4896, 1},
    {2423977.75013, 0.6483, 1},  {2448137.38739, 0.9460, 1},  {2418876.45001, 0.9675, 0},
    {2452435.02759, 0.0240, 0},  {2429395.28190, 0.4682, 0},  {2449216.36920, 0.0156, 0},
    {2480202.00206, 0.5285, 1},  {2475019.23202, 0.4891, 0},  {2435698.98650, 0.5214, 1},
    {2461964.65449, 0.7491, 0},  {2436944.87602, 0.9357, 1},  {2456458.69820, 0.3482, 1},
    {2415274.60346, 0.8770, 0},  {2423517.61461, 0.5066, 0},  {2422916.77836, 0.8962, 1},
    {2452617.00347, 0.2114, 1},  {2431208.39824, 0.2711, 1},  {2429367.17598, 0.3212, 0},
    {2415890.41061, 0.9795, 1},  {2483051.73739, 0.5940, 0},  {2424047.92327, 0.6692, 0},
    {2425791.62711, 0.6042, 0},  {2424805.79978, 0.7887, 1},  {2481132.16191, 0.4723, 0},
    {2432854.55302, 0.0639, 0},  {2488069.30000, 0.7876, 0},  {2451550.26000, 0.0003, -1},
    {2451564.69000, 0.9999, -1}, {2451553.00000, 0.0703, 1},  {2451557.00000, 0.3948, 1},
};

TEST(MoonPhase, AgreesWithAnIndependentEphemerisFrom1900To2100) {
  wxAstroTime t;
  double worst = 0;
  for (const MoonCase& c : kMoon) {
    SCOPED_TRACE(c.jd);
    t.SetDateTimeJD(c.jd);
    bool waxing = false;
    const double k = t.MoonPhase(&waxing);
    EXPECT_NEAR(k, c.fraction, 0.01);
    worst = std::max(worst, std::fabs(k - c.fraction));
    if (c.waxing >= 0) {
      EXPECT_EQ(waxing, c.waxing == 1);
    }
    EXPECT_DOUBLE_EQ(t.MoonPhase(nullptr), k);
  }
  RecordProperty("worst_fraction_error", std::to_string(worst));
}

TEST(MoonPhase, WaxesForAWeekAfterNewMoonAndWanesAfterFull) {
  // New Moon 2000 January 6, 18:14 UT; full Moon January 21, 04:40 UT.
  wxAstroTime t;
  bool waxing = false;
  for (double day = 1; day <= 7; day += 0.25) {
    t.SetDateTimeJD(2451550.26 + day);
    t.MoonPhase(&waxing);
    EXPECT_TRUE(waxing) << day;
    t.SetDateTimeJD(2451564.69 + day);
    t.MoonPhase(&waxing);
    EXPECT_FALSE(waxing) << day;
  }
}

TEST(SunAndMoon, AnglesAreReducedIntoOneTurn) {
  struct Case {
    double x, deg;
  } cases[] = {{0, 0}, {359.5, 359.5}, {360, 0}, {725, 5}, {-10, 350}, {-720, 0}, {-1e6, 80}};
  for (const Case& c : cases) {
    EXPECT_NEAR(range(c.x), c.deg, 1e-9) << c.x;
    const double r = rangerad(c.x * M_PI / 180);
    EXPECT_NEAR(std::fmod(r - c.deg * M_PI / 180 + 3 * M_PI, 2 * M_PI) - M_PI, 0, 1e-9) << c.x;
    EXPECT_GE(r, 0);
    EXPECT_LT(r, 6.28318530717959);
  }
  EXPECT_NEAR(atan22(-1, 0), 1.5 * M_PI, 1e-12);
  EXPECT_NEAR(atan22(1, -1), 0.75 * M_PI, 1e-12);
  EXPECT_NEAR(atan22(-1e-300, 1), 2 * M_PI, 1e-12);
}

TEST(SunAndMoon, SunAndSiderealAngleReferToNoonOfJ2000) {
  // At J2000.0 (d = 0) the Sun's apparent longitude is 280.37 degrees and
  // the Greenwich sidereal angle 280.46 degrees; the obliquity is 23.439.
  double lambda, beta, dist;
  sunpos(0, &lambda, &beta, &dist);
  EXPECT_NEAR(lambda * 180 / M_PI, 280.37, 0.02);
  EXPECT_EQ(beta, 0);
  EXPECT_NEAR(dist, 0.9833, 0.0002);
  EXPECT_NEAR(gst(0) * 180 / M_PI, 280.4606, 1e-4);
  EXPECT_NEAR(epsilon(0) * 180 / M_PI, 23.4393, 1e-4);
  // The Moon at 1992 April 12, 0h: longitude 133.16, latitude -3.23 degrees,
  // 368409.7 km.
  moonpos(2448724.5 - 2451545.0, &lambda, &beta, &dist);
  EXPECT_NEAR(lambda * 180 / M_PI, 133.16, 0.1);
  EXPECT_NEAR(beta * 180 / M_PI, -3.23, 0.05);
  EXPECT_NEAR(dist * 6378.14, 368409.7, 100);
}

}  // namespace
