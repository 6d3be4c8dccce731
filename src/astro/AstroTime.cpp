#include "astro/AstroTime.h"

#include <cmath>
#include <ctime>

namespace {

const double kTwoPi = 6.28318530717959;
const double kDeg = M_PI / 180.0;

// J2000.0, the epoch the lunar and solar constants are referred to.
const double kJ2000 = 2451545.0;

// Day number of a known Sunday (2017-09-17).
const long kSundayJdn = 2458000;

// Days from a date forward to the next Sunday, 0 when it is one; right for
// dates on both sides of the reference Sunday.
int DaysToSunday(long jdn) { return (int)(((kSundayJdn - jdn) % 7 + 7) % 7); }

// The last Sunday of March or October, the days on which clocks change.
bool IsChangeSunday(long jdn, int month, int day) {
  return (month == 3 || month == 10) && day >= 25 && day <= 31 && DaysToSunday(jdn) == 0;
}

// asin and acos of a value that rounding pushed just past +-1.
double Clamp1(double x) { return x > 1 ? 1 : (x < -1 ? -1 : x); }

template <typename T>
void Put(T* to, T value) {
  if (to) *to = value;
}

}  // namespace

wxAstroTime::wxAstroTime() : m_tz(SystemZone()) { Now(); }

int wxAstroTime::SystemZone() {
  tzset();
  return -(int)(timezone / 3600);
}

long wxAstroTime::DayNumber(int year, int month, int day) {
  const long y = year, m = month, d = day;
  const long a = (m - 14) / 12;
  return d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - 12 * a) / 12 - 3 * ((y + 4900 + a) / 100) / 4;
}

int wxAstroTime::jd2ymd(long jdn, int* year, int* month, int* day) {
  long l = jdn + 68569;
  const long n = 4 * l / 146097;
  l = l - (146097 * n + 3) / 4;
  const long i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const long j = 80 * l / 2447;
  Put(day, (int)(l - 2447 * j / 80));
  l = j / 11;
  Put(month, (int)(j + 2 - 12 * l));
  Put(year, (int)(100 * (n - 49) + i + l));
  return 1;
}

int wxAstroTime::DstForDate(long jdn, int month, int day) {
  if (month >= 4 && month <= 9) return 1;
  if (month != 3 && month != 10) return 0;
  // Before the 25th no Sunday can be the month's last one.
  if (day < 25) return month == 10 ? 1 : 0;
  int lastSunday = day + DaysToSunday(jdn);
  if (lastSunday > 31) lastSunday -= 7;
  return month == 3 ? (day >= lastSunday ? 1 : 0) : (day < lastSunday ? 1 : 0);
}

int wxAstroTime::setDST(long jdn, int month, int day) {
  m_dst = DstForDate(jdn, month, day);
  return 1;
}

double wxAstroTime::DateTime2JD(int year, int month, int day, int hour, int minute, int second, bool local,
                                int* dst) {
  const long jdn = DayNumber(year, month, day);
  const long double frac = (hour + (minute + second / 60.0L) / 60.0L) / 24.0L;
  double jd = (double)(jdn + frac - 0.5L);
  const int flag = DstForDate(jdn, month, day);
  Put(dst, flag);
  if (local) jd -= (flag + SystemZone()) / 24.0;
  return jd;
}

int wxAstroTime::Now() {
  time_t now = time(nullptr);
  struct tm t;
  gmtime_r(&now, &t);
  return SetDateTimeUTC(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

int wxAstroTime::SetDateTimeUTC(int year, int month, int day, int hour, int minute, int second) {
  int dst = 0;
  m_jd = DateTime2JD(year, month, day, hour, minute, second, false, &dst);
  m_dst = dst;
  return 1;
}

int wxAstroTime::SetDateTimeLocal(int year, int month, int day, int hour, int minute, int second) {
  SetDateTimeUTC(year, month, day, hour, minute, second);
  m_jd -= (m_tz + m_dst) / 24.0;
  return 1;
}

int wxAstroTime::SetDateTimeJD(double jd) {
  m_jd = jd;
  // No half-day shift: the date whose noon begins the astronomical day,
  // so a whole observing night is judged by the date of its evening.
  const long jdn = (long)jd;
  int year, month, day;
  jd2ymd(jdn, &year, &month, &day);
  return setDST(jdn, month, day);
}

void wxAstroTime::Split(double jd, int* year, int* month, int* day, int* hour, int* minute, int* second) {
  const double x = jd + 0.5;
  long jdn = (long)x;
  // Half a second added, so that truncating each part rounds to the
  // nearest second.
  const double h = (x - jdn) * 24 + 1.0 / 7200;
  int hh = (int)h;
  const double m = (h - hh) * 60;
  int mm = (int)m;
  int ss = (int)((m - mm) * 60);
  // Rounding up may reach the next minute, hour or date: carry it rather
  // than show second 60 or hour 24.
  if (ss >= 60) {
    ss -= 60;
    ++mm;
  }
  if (mm >= 60) {
    mm -= 60;
    ++hh;
  }
  if (hh >= 24) {
    hh -= 24;
    ++jdn;
  }
  jd2ymd(jdn, year, month, day);
  Put(hour, hh);
  Put(minute, mm);
  Put(second, ss);
}

int wxAstroTime::GetDateTimeUTC(int* year, int* month, int* day, int* hour, int* minute, int* second) const {
  Split(m_jd, year, month, day, hour, minute, second);
  return 1;
}

int wxAstroTime::GetDateTimeLocal(int* year, int* month, int* day, int* hour, int* minute, int* second) const {
  Split(m_jd + (m_tz + m_dst) / 24.0, year, month, day, hour, minute, second);
  return 1;
}

int wxAstroTime::GetDateTimeJD(double* jd) const {
  Put(jd, m_jd);
  return 1;
}

int wxAstroTime::SetTZ(int hours) {
  m_tz = hours;
  return 1;
}

wxString wxAstroTime::Format(long flags) const {
  if (flags == 0) return wxString::Format("%12.4f", m_jd);
  int year, month, day, hour, minute, second;
  if (flags & ASTRO_FMT_LOCAL)
    GetDateTimeLocal(&year, &month, &day, &hour, &minute, &second);
  else
    GetDateTimeUTC(&year, &month, &day, &hour, &minute, &second);
  wxString text;
  if (flags & ASTRO_FMT_DATE) text = wxString::Format("%04d.%02d.%02d", year, month, day);
  wxString time;
  if (flags & ASTRO_FMT_TIME)
    time = wxString::Format("%02d:%02d:%02d", hour, minute, second);
  else if (flags & ASTRO_FMT_TIME_SHORT)
    time = wxString::Format("%02d:%02d", hour, minute);
  if (!time.empty()) {
    if (!text.empty()) text += " ";
    text += time;
  }
  return text;
}

bool wxAstroTime::checkDSTnight(double jd) {
  wxAstroTime t;
  t.SetDateTimeJD(jd);
  int year, month, day, hour, minute, second;
  t.GetDateTimeLocal(&year, &month, &day, &hour, &minute, &second);
  const long jdn = DayNumber(year, month, day);
  if (hour <= 12 && IsChangeSunday(jdn, month, day)) return true;
  if (hour >= 13 && IsChangeSunday(jdn + 1, month, day + 1)) return true;
  return false;
}

double wxAstroTime::lst_seconds(double longitude) const {
  // Greenwich mean sidereal time at the preceding 0h UT, then the UT part
  // of the day at the sidereal rate.
  const double b = std::floor(m_jd);
  const double f = m_jd - b;
  double jd0, u;
  if (f < 0.5) {
    jd0 = b - 0.5;
    u = f + 0.5;
  } else {
    jd0 = b + 0.5;
    u = f - 0.5;
  }
  const double t = (jd0 - kJ2000) / 36525.0;
  const double gmst0 = 24110.54841 + 8640184.812866 * t + 0.093104 * t * t - 0.0000062 * t * t * t;
  const double s = gmst0 + 240.0 * longitude +
                   u * 86400.0 * (1.0 + (8640184.812866 + 0.186208 * t - 0.0000186 * t * t) / 3155760000.0);
  double r = s - std::floor(s / 86400.0) * 86400.0;
  // Rounding can leave a value a hair below a multiple of 86400 at 86400.
  if (r >= 86400.0 || r < 0) r = 0;
  return r;
}

int wxAstroTime::GetLST(double longitude, int* hour, int* minute, int* second) const {
  const int n = (int)lst_seconds(longitude);
  const int h = n / 3600;
  Put(hour, h);
  Put(minute, n / 60 - 60 * h);
  Put(second, n % 60);
  return 1;
}

double wxAstroTime::MoonPhase(bool* waxing) const {
  double limb = 0;
  // The lunar and solar series count days from J2000.0, noon; the
  // observer is put at longitude 0, latitude 0.
  const double k = moonphase(m_jd - kJ2000, 0.0, 0.0, &limb);
  // Past 180 degrees the bright limb faces west: the Moon waxes.
  Put(waxing, limb > 3.1415926);
  return k;
}

// ---------------------------------------------------------------------------
// Sun and Moon

double range(double x) {
  double r = 360.0 * (x / 360.0 - std::floor(x / 360.0));
  if (r < 0) r += 360.0;
  return r;
}

double rangerad(double x) {
  double r = kTwoPi * (x / kTwoPi - std::floor(x / kTwoPi));
  if (r < 0) r += kTwoPi;
  return r;
}

double atan22(double y, double x) {
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  return a;
}

double gst(double d) {
  const double t = d / 36525.0;
  return range(280.46061837 + 360.98564736629 * d + 0.000387933 * t * t) * kDeg;
}

double epsilon(double d) {
  const double t = d / 36525.0;
  return (23.4392911111111 - t * (46.815 + 0.00059 * t) / 3600.0) * kDeg;
}

namespace {

// Leading terms of the lunar series: multiples of D, M, M' and F, then the
// longitude (1e-6 degree, sine) and distance (1e-3 km, cosine) amplitudes.
struct LonDistTerm {
  int d, m, mp, f;
  double l, r;
};
const LonDistTerm kLonDist[] = {
    {0, 0, 1, 0, 6288774, -20905355}, {2, 0, -1, 0, 1274027, -3699111}, {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},    {0, 1, 0, 0, -185116, 48888},     {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},     {2, -1, -1, 0, 57066, -152138},   {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},    {0, 1, -1, 0, -40923, -129620},   {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},     {2, 0, 0, -2, 15327, 0},          {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
};

// Latitude terms (1e-6 degree, sine).
struct LatTerm {
  int d, m, mp, f;
  double b;
};
const LatTerm kLat[] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602}, {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
};

}  // namespace

void moonpos(double d, double* lambda, double* beta, double* dist) {
  const double t = d / 36525.0;
  const double lp = range(218.3164591 + 481267.88134236 * t);
  const double dd = range(297.8502042 + 445267.1115168 * t) * kDeg;
  const double m = range(357.5291092 + 35999.0502909 * t) * kDeg;
  const double mp = range(134.9634114 + 477198.8676313 * t - 0.008997 * t * t) * kDeg;
  const double f = range(93.2720993 + 483202.0175273 * t - 0.0034029 * t * t) * kDeg;
  // The Earth's orbit grows rounder: terms with the Sun's anomaly shrink.
  const double e = 1.0 - 0.002516 * t;

  double sl = 0, sr = 0, sb = 0;
  for (const LonDistTerm& x : kLonDist) {
    const double arg = x.d * dd + x.m * m + x.mp * mp + x.f * f;
    const double scale = x.m != 0 ? e : 1.0;
    sl += scale * x.l * std::sin(arg);
    sr += scale * x.r * std::cos(arg);
  }
  for (const LatTerm& x : kLat) {
    const double arg = x.d * dd + x.m * m + x.mp * mp + x.f * f;
    sb += (x.m != 0 ? e : 1.0) * x.b * std::sin(arg);
  }
  *lambda = rangerad((lp + sl / 1000000.0) * kDeg);
  *beta = (sb / 1000000.0) * kDeg;
  *dist = (385000.56 + sr / 1000.0) / 6378.14;
}

void sunpos(double d, double* lambda, double* beta, double* dist) {
  const double l = range(280.461 + 0.9856474 * d);
  const double g = range(357.528 + 0.9856003 * d) * kDeg;
  *lambda = (l + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g)) * kDeg;
  *beta = 0;
  *dist = 1.00014 - 0.01671 * std::cos(g) - 0.00014 * std::cos(2 * g);
}

void equatorial(double d, double* lon, double* lat, double* /*dist*/) {
  const double eps = epsilon(d);
  const double l = *lon, b = *lat;
  *lon = atan22(std::sin(l) * std::cos(eps) - std::tan(b) * std::sin(eps), std::cos(l));
  *lat = std::asin(Clamp1(std::sin(b) * std::cos(eps) + std::cos(b) * std::sin(eps) * std::sin(l)));
}

void topo(double theta, double phi, double* ra, double* dec, double* dist) {
  // Seen from the surface of a round Earth of radius 1 rather than from its
  // centre.
  const double x = *dist * std::cos(*dec) * std::cos(*ra) - std::cos(phi) * std::cos(theta);
  const double y = *dist * std::cos(*dec) * std::sin(*ra) - std::cos(phi) * std::sin(theta);
  const double z = *dist * std::sin(*dec) - std::sin(phi);
  *ra = atan22(y, x);
  *dist = std::sqrt(x * x + y * y + z * z);
  *dec = *dist > 0 ? std::asin(Clamp1(z / *dist)) : 0;
}

void illumination(double, double, double ra, double dec, double ratio, double ra0, double dec0,
                  double* brightLimb, double* fraction) {
  const double da = ra0 - ra;
  *brightLimb = atan22(std::cos(dec0) * std::sin(da),
                       std::sin(dec0) * std::cos(dec) - std::cos(dec0) * std::sin(dec) * std::cos(da));
  // Elongation of the Moon from the Sun, then the phase angle seen from
  // the Moon.
  const double psi = std::acos(Clamp1(std::sin(dec0) * std::sin(dec) + std::cos(dec0) * std::cos(dec) * std::cos(da)));
  const double i = atan22(std::sin(psi), ratio - std::cos(psi));
  *fraction = (1.0 + std::cos(i)) / 2.0;
}

double moonphase(double d, double longitude, double latitude, double* brightLimb) {
  const double theta = gst(d) + longitude;
  double ra, dec, dist;
  moonpos(d, &ra, &dec, &dist);
  equatorial(d, &ra, &dec, &dist);
  topo(theta, latitude, &ra, &dec, &dist);
  double ra0, dec0, dist0;
  sunpos(d, &ra0, &dec0, &dist0);
  equatorial(d, &ra0, &dec0, &dist0);
  // Both distances in one unit: Earth radius over the astronomical unit.
  const double ratio = (dist / dist0) * 4.26352325194252e-05;
  double limb = 0, k = 0;
  illumination(0, 0, ra, dec, ratio, ra0, dec0, &limb, &k);
  if (brightLimb) *brightLimb = limb;
  return k;
}
