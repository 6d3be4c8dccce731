// Report lines, the JD text, the header text and the report file.
//
// Every field of an estimate is read as at most its own width, whether or
// not it is terminated, and lines are built by appending the bytes: no text
// of a record ever passes through a printf format, so neither a "%" nor a
// missing terminator nor an 8-bit byte can do more than appear in the line.
#include "report/ReportFormat.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>
#include <wx/defs.h>

#include "astro/AstroTime.h"
#include "config/MyConfig.h"
#include "config/UserPrompt.h"
#include "db/AtomicFile.h"
#include "db/DbStars.h"
#include "db/Latin1.h"
#include "db/ObsIndex.h"

namespace pelk {

const TJdDecimals fjdTable[JD_DECIMAL_ROWS] = {
    {"AM", 3}, {"I", 3},  {"L", 1},  {"M", 1},  {"NL", 3}, {"NR", 3},
    {"N", 4},  {"RV", 1}, {"SN", 4}, {"SR", 1}, {"UG", 3}, {"", 2},
};

const char monthName[12][4] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

namespace {

// Text ids.
const int kCaption = 16503;          // "Creating Observation Report"
const int kNoObservations = 16510;
const int kNightlyCannotCreate = 16511;
const int kMonthlyCannotCreate = 16544;
const int kVersion = 16563;
const int kFallbackTemplate = 18000;
const int kFirstDestinationTemplate = 18001;
const int kDestinations = 5;

const char kDashes[] = "--------------------------------------------------------------------------------";
static_assert(sizeof kDashes == 81, "the line under the header is 80 dashes");

// The bytes of a record field up to its terminator or its end.
std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : TrimRight(text.substr(first));
}

// `text` left-aligned in `width` columns; a longer text is kept whole and
// pushes what follows.
void AppendPadded(std::string& out, const std::string& text, size_t width) {
  out += text;
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// A JD the calendar arithmetic can take; a record may hold anything.
bool UsableJd(double jd) { return std::isfinite(jd) && jd > 0 && jd < 1e8; }

// The star name written in every format: upper case, except that a
// supernova's letter suffix ("SN 2002AB") is written in lower case. The
// record's name is changed in place, within its field.
std::string StarName(TObs_data* obs) {
  char name[sizeof obs->variable + 1];
  const size_t n = strnlen(obs->variable, sizeof obs->variable);
  memcpy(name, obs->variable, n);
  name[n] = '\0';
  strupr(name);
  if (n >= 2 && name[0] == 'S' && name[1] == 'N' && name[n - 2] >= 'A' && name[n - 2] <= 'Z') strlwr(name + n - 2);
  memcpy(obs->variable, name, n);
  return std::string(name, n);
}

// The VSNET name: "V999 CYG" becomes "CYGV999"; a name with blanks that
// does not end in a constellation loses its blanks.
std::string VsnetName(const std::string& name) {
  if (name.find(' ') == std::string::npos) return name;
  if (name.size() >= 3) {
    const std::string tail = name.substr(name.size() - 3);
    if (strstr(ConstellNames, tail.c_str()) != nullptr)
      return tail + TrimRight(name.substr(0, name.size() - 3));
  }
  std::string out;
  for (char c : name)
    if (c != ' ') out += c;
  return out;
}

// UT date and fraction of the UT day as VSNET wants them: 20030111.847.
// The fraction is rounded to the three decimals printed first, so that an
// estimate a moment before midnight reads as midnight of the next date,
// never as a date that does not exist.
std::string VsnetTime(double jd) {
  long jdn = 0;
  long thousandths = 0;
  int year = 0, month = 0, day = 0;
  if (UsableJd(jd)) {
    const double x = jd + 0.5;
    jdn = (long)std::floor(x);
    thousandths = std::lround((x - (double)jdn) * 1000);
    if (thousandths >= 1000) {
      thousandths -= 1000;
      ++jdn;
    }
    wxAstroTime::jd2ymd(jdn, &year, &month, &day);
  }
  char text[64];
  snprintf(text, sizeof text, "%012.3f", (double)year * 10000 + month * 100 + day + (double)thousandths / 1000);
  return text;
}

// The magnitude as VSNET aligns it: the point in the fourth column, the
// "<" kept in front (" 11.8", "  9.5", "< 9.5", "<12.3").
std::string VsnetMagnitude(const std::string& stored) {
  const std::string mag = Trim(stored);
  const size_t point = mag.find('.');
  if (point != std::string::npos && point >= 3) return mag;
  const bool fainter = !mag.empty() && mag[0] == '<';
  return std::string(fainter ? "<" : "") + std::string(point == 1 ? 2 : 1, ' ') + mag.substr(fainter ? 1 : 0);
}

// UT of the estimate as "%04d%02d%02d%02d%02d%02d".
std::string EclipsingTime(double jd) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (UsableJd(jd)) {
    wxAstroTime t;
    t.SetDateTimeJD(jd);
    t.GetDateTimeUTC(&year, &month, &day, &hour, &minute, &second);
  }
  char text[96];
  snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
  return text;
}

int DecimalsFor(const char* type, size_t size, const ReportOptions& options) {
  if (!options.autoJD) return options.jdDecimals >= 1 && options.jdDecimals <= 4 ? options.jdDecimals : 2;
  const size_t length = strnlen(type, size);
  for (int row = 0; row < JD_DECIMAL_ROWS - 1; ++row) {
    const size_t prefix = strlen(fjdTable[row].prefix);
    if (prefix <= length && memcmp(type, fjdTable[row].prefix, prefix) == 0) return fjdTable[row].decimals;
  }
  return fjdTable[JD_DECIMAL_ROWS - 1].decimals;
}

std::string JdText(double jd, int decimals) {
  // Room for any double in %f.
  char text[400];
  snprintf(text, sizeof text, "%*.*f", decimals + 8, decimals, jd);
  return text;
}

void AppendAavso(std::string& out, TObs_data* obs, const ReportLineContext& c, const std::string& name) {
  AppendPadded(out, Field(c.harvard, sizeof(TObsIndex_data::harvard)), 8);
  AppendPadded(out, name, 10);
  AppendPadded(out, JdText(obs->jd, DecimalsFor(c.type, sizeof(TObsIndex_data::type), c.options)), 12);
  AppendPadded(out, TrimRight(Field(obs->magnitude, sizeof obs->magnitude)), 6);

  // A colour band follows the remark codes in the same column.
  std::string remarks = Field(obs->remarks, sizeof obs->remarks);
  const std::string colour = Field(obs->colour, sizeof obs->colour);
  if (!colour.empty()) {
    const size_t keep = colour.size() < 6 ? 6 - colour.size() : 0;
    remarks = remarks.substr(0, keep) + " " + colour;
  }
  AppendPadded(out, remarks, 7);

  if (strnlen(obs->compStars, sizeof obs->compStars) > 11) obs->compStars[11] = '\0';
  AppendPadded(out, Field(obs->compStars, sizeof obs->compStars), 11);

  std::string chart = Field(obs->chart, sizeof obs->chart);
  if (!chart.empty() && chart[0] == '#') chart.erase(0, 1);
  AppendPadded(out, chart.substr(0, 8), 8);
  AppendPadded(out, c.observer, 5);
  AppendPadded(out, Field(obs->comment, sizeof obs->comment), 82);
}

void AppendVsnet(std::string& out, TObs_data* obs, const ReportLineContext& c, const std::string& name) {
  AppendPadded(out, VsnetName(name), 10);
  out += ' ';
  out += VsnetTime(obs->jd);
  out += ' ';
  AppendPadded(out, VsnetMagnitude(Field(obs->magnitude, sizeof obs->magnitude)) +
                        Field(obs->colour, sizeof obs->colour), 8);
  out += ' ';
  AppendPadded(out, c.observer, 3);
}

void AppendEclipsing(std::string& out, TObs_data* obs, const ReportLineContext& c, const std::string& name) {
  AppendPadded(out, Field(c.harvard, sizeof(TObsIndex_data::harvard)), 8);
  AppendPadded(out, name, 8);
  AppendPadded(out, EclipsingTime(obs->jd), 14);
  out += "UT   ";
  AppendPadded(out, TrimRight(Field(obs->magnitude, sizeof obs->magnitude)), 7);
  AppendPadded(out, Field(obs->colour, sizeof obs->colour), 5);
  AppendPadded(out, c.observer, 3);
}

wxString Text(int id) { return config ? config->GetText(id) : wxString(); }

wxString ObserverSetting(const wxString& observer, const char* key) {
  return config ? config->Read("User/" + observer + "/" + key, wxString()) : wxString();
}

// Replaces each placeholder, in the order given, in the template's own
// text only: what one placeholder put in (an address, a name) is never
// read as another placeholder.
wxString FillTemplate(const wxString& text, const std::vector<std::pair<wxString, wxString>>& fields) {
  struct Piece {
    wxString text;
    bool filled;
  };
  std::vector<Piece> pieces{{text, false}};
  for (const auto& field : fields) {
    std::vector<Piece> next;
    for (const Piece& piece : pieces) {
      if (piece.filled) {
        next.push_back(piece);
        continue;
      }
      size_t from = 0;
      for (size_t at; (at = piece.text.find(field.first, from)) != wxString::npos; from = at + field.first.length()) {
        next.push_back({piece.text.substr(from, at - from), false});
        next.push_back({field.second, true});
      }
      next.push_back({piece.text.substr(from), false});
    }
    pieces.swap(next);
  }
  wxString out;
  for (const Piece& piece : pieces) out += piece.text;
  return out;
}

}  // namespace

char* strupr(char* text) {
  for (char* p = text; *p; ++p)
    if (*p >= 'a' && *p <= 'z') *p = (char)(*p - 'a' + 'A');
  return text;
}

char* strlwr(char* text) {
  for (char* p = text; *p; ++p)
    if (*p >= 'A' && *p <= 'Z') *p = (char)(*p - 'A' + 'a');
  return text;
}

ReportOptions ReadOptions() {
  ReportOptions options;
  if (!config) return options;
  options.autoJD = config->Read("Features/AutoJD", "0") == "Yes";
  const long decimals = DecimalValue(config->Read("Features/JDDec", "2"));
  options.jdDecimals = decimals >= 1 && decimals <= 4 ? (int)decimals : 2;
  return options;
}

int JdDecimals(const wxString& type, const ReportOptions& options) {
  const std::string bytes = ToLatin1(type);
  return DecimalsFor(bytes.c_str(), bytes.size(), options);
}

wxString FormatJD(double jd, const wxString& type, const ReportOptions& options) {
  return wxString(JdText(jd, JdDecimals(type, options)));
}

void AppendObsLine(std::string& out, int format, TObs_data* obs, const ReportLineContext& context) {
  if (format != REPORT_AAVSO && format != REPORT_VSNET && format != REPORT_ECLIPSING) return;
  const std::string name = StarName(obs);
  if (format == REPORT_AAVSO)
    AppendAavso(out, obs, context, name);
  else if (format == REPORT_VSNET)
    AppendVsnet(out, obs, context, name);
  else
    AppendEclipsing(out, obs, context, name);
}

wxString FormatObs(int format, TObs_data* obs, const ReportLineContext& context) {
  std::string line;
  AppendObsLine(line, format, obs, context);
  return FromLatin1(line);
}

void MonthsBefore(int year, int month, int monthsBack, int& outYear, int& outMonth) {
  // Months counted from year 0, January = 0; floor division keeps going
  // back past January right.
  long total = (long)year * 12 + (month - 1) - monthsBack;
  long y = total >= 0 ? total / 12 : -((-total + 11) / 12);
  outYear = (int)y;
  outMonth = (int)(total - y * 12) + 1;
}

wxString CreateReportHeader(const ReportHeaderArgs& args) {
  const int destination = args.destination;
  wxString text;
  if (destination >= 0 && destination < kDestinations) text = Text(kFirstDestinationTemplate + destination);
  if (text.empty()) text = Text(kFallbackTemplate);

  wxString date, night;
  if (args.reportType == 0 || args.reportType == 3) {
    int nowYear = args.nowYear, nowMonth = args.nowMonth;
    if (nowYear == 0) {
      wxAstroTime now;
      int d, h, mi, s;
      now.GetDateTimeLocal(&nowYear, &nowMonth, &d, &h, &mi, &s);
    }
    int year, month;
    MonthsBefore(nowYear, nowMonth, 11 - args.monthSelection, year, month);
    date = night = wxString::Format("%d.%02d", year, month);
  } else {
    date = wxString::Format("%d.%02d.%02d", args.year, args.month, args.day);
    // The morning's day is not carried into the next month: 2003.01.31/32.
    night = wxString::Format("%d.%02d.%02d/%02d", args.year, args.month, args.day, args.day + 1);
  }

  return FillTemplate(text, {
                                {"%OBSERVER%", args.observer},
                                {"%DATE%", date},
                                {"%NIGHT%", night},
                                {"%VERSION%", Text(kVersion)},
                                {"%NAME%", ObserverSetting(args.observer, "Name")},
                                {"%ADDRESS%", ObserverSetting(args.observer, "Address")},
                                {"%CITY%", ObserverSetting(args.observer, "City")},
                                {"%ZIP%", ObserverSetting(args.observer, "Zip")},
                                {"%COUNTRY%", ObserverSetting(args.observer, "Country")},
                                {"%INSTRUMENTS%", args.instruments},
                            });
}

int CreateReportFile(const wxString& fileName, int format, const wxString& header, wxDbObsIndex& index,
                     const ReportOptions& options, const wxString& observer) {
  if (index.GetCount() == 0) {
    AskUser(kNoObservations, kCaption, wxOK | wxICON_EXCLAMATION);
    return 0;
  }

  std::string out;
  // An AAVSO line is 149 bytes and its line end.
  out.reserve((size_t)index.GetCount() * 150 + 4096);
  if (config && config->Read("Features/ReportHeader", "No") == "Yes") {
    const std::string bytes = ToLatin1(header);
    size_t from = 0;
    while (from < bytes.size()) {
      size_t end = bytes.find('\n', from);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(from, end - from);
      // Only LF ends a line in a report.
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out += line;
      out += '\n';
      from = end + 1;
    }
    out += kDashes;
    out += '\n';
  }

  ReportLineContext context;
  context.options = options;
  context.observer = ToLatin1(observer);
  TObs_data obs;
  int lines = 0;
  for (int r = index.Scan(0, &obs); r == 0; r = index.Scan(1, &obs)) {
    context.harvard = index.GetHarvard();
    context.type = index.GetVarType();
    AppendObsLine(out, format, &obs, context);
    out += '\n';
    ++lines;
  }
  if (lines == 0) {
    AskUser(kNoObservations, kCaption, wxOK | wxICON_EXCLAMATION);
    return 0;
  }

  if (!AtomicWriteFile(std::string(fileName.fn_str()), out.data(), out.size())) {
    AskUser(format == REPORT_VSNET ? kNightlyCannotCreate : kMonthlyCannotCreate, kCaption,
            wxOK | wxICON_EXCLAMATION);
    return 0;
  }
  return lines;
}

}  // namespace pelk
