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
#include <string_view>
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
std::string_view Field(const char* field, size_t size) { return std::string_view(field, strnlen(field, size)); }

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return TrimRight(text);
}

// `text` left-aligned in `width` columns; a longer text is kept whole and
// pushes what follows.
void AppendPadded(std::string& out, std::string_view text, size_t width) {
  out.append(text.data(), text.size());
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// A JD the calendar arithmetic can take; a record may hold anything.
bool UsableJd(double jd) { return std::isfinite(jd) && jd > 0 && jd < 1e8; }

// The star name written in every format: upper case, except that a
// supernova's letter suffix ("SN 2002AB") is written in lower case. The
// record's name is changed in place, within its field.
class StarName {
 public:
  explicit StarName(TObs_data* obs) : m_length(strnlen(obs->variable, sizeof obs->variable)) {
    memcpy(m_name, obs->variable, m_length);
    m_name[m_length] = '\0';
    strupr(m_name);
    const size_t n = m_length;
    if (n >= 2 && m_name[0] == 'S' && m_name[1] == 'N' && m_name[n - 2] >= 'A' && m_name[n - 2] <= 'Z')
      strlwr(m_name + n - 2);
    memcpy(obs->variable, m_name, n);
  }
  std::string_view View() const { return std::string_view(m_name, m_length); }

 private:
  char m_name[sizeof(TObs_data::variable) + 1];
  size_t m_length;
};

// The VSNET name: "V999 CYG" becomes "CYGV999"; a name with blanks that
// does not end in a constellation loses its blanks.
std::string VsnetName(std::string_view name) {
  if (name.find(' ') == std::string_view::npos) return std::string(name);
  if (name.size() >= 3) {
    const std::string tail(name.substr(name.size() - 3));
    if (strstr(ConstellNames, tail.c_str()) != nullptr)
      return tail + std::string(TrimRight(name.substr(0, name.size() - 3)));
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
std::string VsnetMagnitude(std::string_view stored) {
  const std::string_view mag = Trim(stored);
  const size_t point = mag.find('.');
  if (point != std::string_view::npos && point >= 3) return std::string(mag);
  const bool fainter = !mag.empty() && mag[0] == '<';
  return std::string(fainter ? "<" : "") + std::string(point == 1 ? 2 : 1, ' ') +
         std::string(mag.substr(fainter ? 1 : 0));
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

// The JD in a field of decimals + 8, into `text` (room for any double).
std::string_view JdText(double jd, int decimals, char (&text)[400]) {
  const int n = snprintf(text, sizeof text, "%*.*f", decimals + 8, decimals, jd);
  return std::string_view(text, n < 0 ? 0 : std::min((size_t)n, sizeof text - 1));
}

void AppendAavso(std::string& out, TObs_data* obs, const ReportLineContext& c, std::string_view name) {
  AppendPadded(out, Field(c.harvard, sizeof(TObsIndex_data::harvard)), 8);
  AppendPadded(out, name, 10);
  char jd[400];
  AppendPadded(out, JdText(obs->jd, DecimalsFor(c.type, sizeof(TObsIndex_data::type), c.options), jd), 12);
  AppendPadded(out, TrimRight(Field(obs->magnitude, sizeof obs->magnitude)), 6);

  // A colour band follows the remark codes in the same column.
  const std::string_view remarks = Field(obs->remarks, sizeof obs->remarks);
  const std::string_view colour = Field(obs->colour, sizeof obs->colour);
  if (colour.empty()) {
    AppendPadded(out, remarks, 7);
  } else {
    const size_t keep = colour.size() < 6 ? 6 - colour.size() : 0;
    const size_t start = out.size();
    const std::string_view kept = remarks.substr(0, keep);
    out.append(kept.data(), kept.size());
    out += ' ';
    out.append(colour.data(), colour.size());
    if (out.size() - start < 7) out.append(7 - (out.size() - start), ' ');
  }

  if (strnlen(obs->compStars, sizeof obs->compStars) > 11) obs->compStars[11] = '\0';
  AppendPadded(out, Field(obs->compStars, sizeof obs->compStars), 11);

  std::string_view chart = Field(obs->chart, sizeof obs->chart);
  if (!chart.empty() && chart[0] == '#') chart.remove_prefix(1);
  AppendPadded(out, chart.substr(0, 8), 8);
  AppendPadded(out, c.observer, 5);
  AppendPadded(out, Field(obs->comment, sizeof obs->comment), 82);
}

void AppendVsnet(std::string& out, TObs_data* obs, const ReportLineContext& c, std::string_view name) {
  AppendPadded(out, VsnetName(name), 10);
  out += ' ';
  out += VsnetTime(obs->jd);
  out += ' ';
  AppendPadded(out, VsnetMagnitude(Field(obs->magnitude, sizeof obs->magnitude)) +
                        std::string(Field(obs->colour, sizeof obs->colour)), 8);
  out += ' ';
  AppendPadded(out, c.observer, 3);
}

void AppendEclipsing(std::string& out, TObs_data* obs, const ReportLineContext& c, std::string_view name) {
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
  char text[400];
  return FromLatin1(std::string(JdText(jd, JdDecimals(type, options), text)));
}

void AppendObsLine(std::string& out, int format, TObs_data* obs, const ReportLineContext& context) {
  if (format != REPORT_AAVSO && format != REPORT_VSNET && format != REPORT_ECLIPSING) return;
  const StarName star(obs);
  const std::string_view name = star.View();
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
  // An empty selection, or one whose every entry was deleted through the
  // index (Scan passes those over), has nothing to report.
  bool any = false;
  for (int i = 0; i < index.GetCount() && !any; ++i) any = index.GetEntry(i)->record >= 0;
  if (!any) {
    AskUser(kNoObservations, kCaption, wxOK | wxICON_EXCLAMATION);
    return 0;
  }

  std::string head;
  if (config && config->Read("Features/ReportHeader", "No") == "Yes") {
    const std::string bytes = ToLatin1(header);
    size_t from = 0;
    while (from < bytes.size()) {
      size_t end = bytes.find('\n', from);
      if (end == std::string::npos) end = bytes.size();
      std::string_view line(bytes.data() + from, end - from);
      // Only LF ends a line in a report.
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      head.append(line.data(), line.size());
      head += '\n';
      from = end + 1;
    }
    head += kDashes;
    head += '\n';
  }

  // The file is made a megabyte at a time, so that a report of any size
  // needs little memory.
  const size_t kPiece = 1 << 20;
  ReportLineContext context;
  context.options = options;
  context.observer = ToLatin1(observer);
  TObs_data obs;
  int lines = 0;
  int scanned = -1;
  bool started = false;
  auto next = [&](std::string& chunk) {
    if (!started) {
      started = true;
      chunk = head;
      scanned = index.Scan(0, &obs);
    }
    while (scanned == 0 && chunk.size() < kPiece) {
      context.harvard = index.GetHarvard();
      context.type = index.GetVarType();
      AppendObsLine(chunk, format, &obs, context);
      chunk += '\n';
      ++lines;
      scanned = index.Scan(1, &obs);
    }
  };
  if (!AtomicWriteFileChunks(std::string(fileName.fn_str()), next)) {
    AskUser(format == REPORT_VSNET ? kNightlyCannotCreate : kMonthlyCannotCreate, kCaption,
            wxOK | wxICON_EXCLAMATION);
    return 0;
  }
  return lines;
}

}  // namespace pelk
