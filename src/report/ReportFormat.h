// The report itself: the three line formats (AAVSO, VSNET, eclipsing),
// the Julian Date text, the header text and the report file. The report
// dialog selects the estimates and calls these with what its controls and
// the configuration hold, so nothing here needs a window.
#pragma once

#include <string>
#include <wx/string.h>

#include "db/DbObs.h"

class wxDbObsIndex;

namespace pelk {

// Line formats of a report.
enum { REPORT_AAVSO = 0, REPORT_VSNET = 1, REPORT_ECLIPSING = 2 };

// The report options of the configuration.
struct ReportOptions {
  int jdDecimals = 2;   // JD decimals of the AAVSO format, 1 to 4
  bool autoJD = false;  // decimals by the star's variability type instead
};

// "Features/AutoJD" ("Yes" turns automatic decimals on) and
// "Features/JDDec" (1 to 4; anything else gives 2).
ReportOptions ReadOptions();

// A row of the decimals table: a variability type beginning with `prefix`
// gets `decimals` JD decimals. The last row (empty prefix) is the default
// and is never compared.
struct TJdDecimals {
  const char* prefix;
  int decimals;
};
enum { JD_DECIMAL_ROWS = 12 };
extern const TJdDecimals fjdTable[JD_DECIMAL_ROWS];

// "JAN" ... "DEC", month - 1 as index: the month of monthly report names.
extern const char monthName[12][4];

// Upper- or lower-case a terminated string in place, ASCII letters only (as
// the "C" locale does); each returns its argument.
char* strupr(char* text);
char* strlwr(char* text);

// Number of JD decimals for an estimate of a star of `type`.
int JdDecimals(const wxString& type, const ReportOptions& options);
// The JD printed with those decimals in a field of decimals + 8: "%12.4f"
// for 4, "%9.1f" for 1.
wxString FormatJD(double jd, const wxString& type, const ReportOptions& options);

// What a report line takes besides the estimate: the current index item's
// designation and type, the options and the observer's initials.
struct ReportLineContext {
  const char* harvard = "";  // read as at most 12 bytes
  const char* type = "";     // read as at most 12 bytes
  ReportOptions options;
  std::string observer;      // initials, ISO-8859-1
};

// One report line of `format`, without line end; empty for an unknown
// format. The estimate is changed in place as the line requires (star
// name upper-cased with the supernova tail kept in lower case; comparison
// stars cut to 11 characters in the AAVSO format), so pass a scratch copy.
wxString FormatObs(int format, TObs_data* obs, const ReportLineContext& context);
// The same line appended to `out` as ISO-8859-1 bytes.
void AppendObsLine(std::string& out, int format, TObs_data* obs, const ReportLineContext& context);

// Year and month `monthsBack` months before `year`.`month` (going back
// past January continues with December of the year before).
void MonthsBefore(int year, int month, int monthsBack, int& outYear, int& outMonth);

// What the header text is made of.
struct ReportHeaderArgs {
  int reportType = 0;      // 0 AAVSO monthly, 1 AAVSO nightly, 2 VSNET nightly, 3 eclipsing monthly, 4 special
  int monthSelection = 10;  // item of the month list: 0 eleven months ago ... 11 this month
  int destination = -1;    // item of the destination list; -1 when none is chosen
  int year = 0, month = 0, day = 0;  // the date field (nightly and special reports)
  int nowYear = 0, nowMonth = 0;     // this local month; 0 takes the present one
  wxString observer;       // initials
  wxString instruments;    // the "Instruments" figure of the selection
};

// The header: the template of the destination (text 18001 + destination,
// falling back to 18000) with its %OBSERVER%, %DATE%, %NIGHT%, %VERSION%,
// %NAME%, %ADDRESS%, %CITY%, %ZIP%, %COUNTRY% and %INSTRUMENTS% filled in.
// The observer's personal data come from the configuration.
wxString CreateReportHeader(const ReportHeaderArgs& args);

// Writes the report of every estimate of `index` in `format` to
// `fileName`: the header lines and a line of 80 "-" first when
// "Features/ReportHeader" is "Yes", then one line per estimate; LF line
// ends, ISO-8859-1 bytes. An existing file is replaced only by a complete
// new report. Returns the number of estimate lines written; 0, after
// telling the user, when the index is empty or the file cannot be written:
// a file of that name is then left as it was.
int CreateReportFile(const wxString& fileName, int format, const wxString& header, wxDbObsIndex& index,
                     const ReportOptions& options, const wxString& observer);

}  // namespace pelk
