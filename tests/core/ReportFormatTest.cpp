// Report lines in the three formats, the JD text with its decimals, the
// header text and the report file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <wx/defs.h>

#include "DbFixtures.h"
#include "RecordingPrompt.h"
#include "db/AtomicFile.h"
#include "db/ObsIndex.h"
#include "report/ReportFormat.h"

using namespace pelk_test;
using pelk::ReportLineContext;
using pelk::ReportOptions;

namespace {

const double kJd = 2452651.3472222;  // 2003-01-11 20:20:00 UT
const std::string kVersion = "Pelk - Variable Star Observations, version 2.1.0";
const std::string kDashes(80, '-');

// The estimate of the worked example, field by field.
struct Fields {
  const char* variable = "V999 CYG";
  double jd = kJd;
  const char* magnitude = " 11.8 ";
  const char* colour = "";
  const char* chart = "#2000a";
  const char* compStars = "115 121";
  const char* remarks = "B";
  const char* comment = "thin clouds";
};

// A field filled from `text`; a text as long as the field leaves it without
// terminator, as a record from disk may be.
template <size_t N>
void Put(char (&field)[N], const char* text) {
  memset(field, 0, N);
  memcpy(field, text, std::min(strlen(text), N));
}

TObs_data Make(const Fields& f) {
  TObs_data o;
  memset(&o, 0, sizeof o);
  Put(o.variable, f.variable);
  o.jd = f.jd;
  Put(o.magnitude, f.magnitude);
  Put(o.colour, f.colour);
  Put(o.chart, f.chart);
  Put(o.compStars, f.compStars);
  Put(o.remarks, f.remarks);
  Put(o.comment, f.comment);
  return o;
}

ReportLineContext Context(const char* harvard = "2000+40", const char* type = "EA", bool autoJD = false,
                          int decimals = 4) {
  ReportLineContext c;
  c.harvard = harvard;
  c.type = type;
  c.options.autoJD = autoJD;
  c.options.jdDecimals = decimals;
  c.observer = "ABC";
  return c;
}

// The line's bytes.
std::string Line(int format, const Fields& f, const ReportLineContext& c = Context()) {
  TObs_data o = Make(f);
  std::string line;
  pelk::AppendObsLine(line, format, &o, c);
  return line;
}

std::string Padded(const std::string& text, size_t width) {
  return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Lines

TEST(ReportLine, WorkedExampleInEveryFormat) {
  const std::string aavso =
      "2000+40 V999 CYG  2452651.3472 11.8 B      115 121    2000a   ABC  thin clouds" + std::string(71, ' ');
  ASSERT_EQ(aavso.size(), 149u);
  EXPECT_EQ(Line(pelk::REPORT_AAVSO, Fields()), aavso);
  // Automatic decimals: type EA matches no prefix and gets two.
  EXPECT_EQ(Line(pelk::REPORT_AAVSO, Fields(), Context("2000+40", "EA", true)),
            "2000+40 V999 CYG  2452651.35   11.8 B      115 121    2000a   ABC  thin clouds" + std::string(71, ' '));
  EXPECT_EQ(Line(pelk::REPORT_VSNET, Fields()), "CYGV999    20030111.847  11.8    ABC");
  EXPECT_EQ(Line(pelk::REPORT_ECLIPSING, Fields()), "2000+40 V999 CYG20030111202000UT    11.8       ABC");
  // Any other format number gives an empty line.
  EXPECT_EQ(Line(3, Fields()), "");
  EXPECT_EQ(Line(-1, Fields()), "");

  // The wxString form carries the same characters.
  TObs_data o = Make(Fields());
  EXPECT_EQ(pelk::FormatObs(pelk::REPORT_VSNET, &o, Context()), "CYGV999    20030111.847  11.8    ABC");
}

TEST(ReportLine, StarNameUpperCaseWithSupernovaLettersInLowerCaseChangedInPlace) {
  struct Case {
    const char* entered;
    const char* written;
  } cases[] = {
      {"SN 2002AB", "SN 2002ab"}, {"SN 2002A", "SN 2002A"},  {"sn 2002ab", "SN 2002ab"},
      {"sn 1987a", "SN 1987A"},   {"r leo", "R LEO"},        {"v\xe9 cyg", "V\xe9 CYG"},  // 8-bit bytes stay
      {"SN2002AB", "SN2002ab"},   {"SNAKE", "SNAke"},        {"x sn ab", "X SN AB"},
      {"v1234567 cyg", "V1234567 CYG"},  // fills the field: no terminator
  };
  for (const Case& c : cases) {
    Fields f;
    f.variable = c.entered;
    TObs_data o = Make(f);
    std::string line;
    pelk::AppendObsLine(line, pelk::REPORT_ECLIPSING, &o, Context());
    EXPECT_EQ(Field(o.variable, sizeof o.variable), c.written) << c.entered;
    EXPECT_EQ(line.substr(8, strlen(c.written)), c.written) << c.entered;
  }
}

TEST(ReportLine, AavsoRemarkColourChartAndComparisonColumns) {
  struct Case {
    const char* remarks;
    const char* colour;
    const char* chart;
    const char* compStars;
    const char* remarkColumn;
    const char* compColumn;
    const char* chartColumn;
  } cases[] = {
      {"BUZK", "Rc", "#2000ab", "115 121", "BUZK Rc", "115 121", "2000ab"},
      {"BU", "V", "2000a", "115 121", "BU V", "115 121", "2000a"},
      {"B", "", "", "", "B", "", ""},
      {"", "V", "#", "", " V", "", ""},
      // Remark codes and chart fill their fields: no terminator.
      {"ABGH", "CV", "ABCDEFGH", "115 121 130 140", "ABGH CV", "115 121 130", "ABCDEFGH"},
      {"BUZK", "ABCDE", "#1234567", "12345678901", "B ABCDE", "12345678901", "1234567"},
  };
  for (const Case& c : cases) {
    Fields f;
    f.remarks = c.remarks;
    f.colour = c.colour;
    f.chart = c.chart;
    f.compStars = c.compStars;
    TObs_data o = Make(f);
    std::string line;
    pelk::AppendObsLine(line, pelk::REPORT_AAVSO, &o, Context());
    EXPECT_EQ(line.substr(36, 7), Padded(c.remarkColumn, 7)) << c.remarks << "/" << c.colour;
    EXPECT_EQ(line.substr(43, 11), Padded(c.compColumn, 11)) << c.compStars;
    EXPECT_EQ(line.substr(54, 8), Padded(c.chartColumn, 8)) << c.chart;
    EXPECT_EQ(line.size(), 149u);
    // The comparison stars are cut in the record too.
    EXPECT_EQ(Field(o.compStars, sizeof o.compStars), c.compColumn);
  }
}

TEST(ReportLine, LongNameAndCommentPushTheFollowingColumns) {
  Fields f;
  f.variable = "V12345 SGR";  // 10: fits
  EXPECT_EQ(Line(pelk::REPORT_AAVSO, f).substr(8, 14), "V12345 SGR2452");
  f.variable = "V123456 SGR";  // 11: pushes
  f.comment = "a comment of exactly 31 chars..";
  const std::string line = Line(pelk::REPORT_AAVSO, f);
  EXPECT_EQ(line.substr(8, 15), "V123456 SGR2452");
  EXPECT_EQ(line.size(), 150u);
  EXPECT_EQ(line.substr(68, 31), f.comment);
  EXPECT_EQ(Line(pelk::REPORT_ECLIPSING, f).substr(0, 23), "2000+40 V123456 SGR2003");
  f.variable = "V123456 SGR";
  EXPECT_EQ(Line(pelk::REPORT_VSNET, f).substr(0, 12), "SGRV123456 2");
  f.variable = "V12345678 X";  // no constellation: blanks removed, 10 left
  EXPECT_EQ(Line(pelk::REPORT_VSNET, f).substr(0, 11), "V12345678X ");
}

TEST(ReportLine, VsnetNames) {
  struct Case {
    const char* variable;
    const char* written;
  } cases[] = {
      {"V999 CYG", "CYGV999"},    {"SS CYG", "CYGSS"},        {"EPS AUR", "AUREPS"},
      {"SN 2002AB", "SN2002ab"},  {"sn 2002ab", "SN2002ab"},  {"RLEO", "RLEO"},
      {"X Y Z", "XYZ"},           {"A ", "A"},                {" B", "B"},
      {"r  leo", "LEOR"},  // blanks before the constellation go
  };
  for (const Case& c : cases) {
    Fields f;
    f.variable = c.variable;
    const std::string line = Line(pelk::REPORT_VSNET, f);
    EXPECT_EQ(line, Padded(c.written, 10) + " 20030111.847  11.8    ABC") << c.variable;
  }
}

TEST(ReportLine, VsnetTimeIsTheUtDateAndFractionOfTheDay) {
  const double day = 1.0 / 86400;
  struct Case {
    const char* what;
    double jd;
    const char* time;
  } cases[] = {
      {"worked example", kJd, "20030111.847"},
      {"exactly 0h UT: that date, not the next", 2452651.5, "20030112.000"},
      {"noon UT", 2452671.0, "20030131.500"},
      {"10 s before midnight at the end of January", 2452671.5 - 10 * day, "20030201.000"},
      {"0.2 s before midnight", 2452671.5 - 0.2 * day, "20030201.000"},
      {"50 s before midnight keeps its date", 2452671.5 - 50 * day, "20030131.999"},
      {"end of the year", 2452640.5 - 1 * day, "20030101.000"},
  };
  for (const Case& c : cases) {
    Fields f;
    f.jd = c.jd;
    EXPECT_EQ(Line(pelk::REPORT_VSNET, f).substr(11, 12), c.time) << c.what;
  }
}

TEST(ReportLine, VsnetMagnitudeAlignsThePoint) {
  struct Case {
    const char* magnitude;
    const char* colour;
    const char* written;  // the column, 8 wide or longer
  } cases[] = {
      {" 11.8 ", "", " 11.8   "},   {"  9.5 ", "", "  9.5   "},   {"< 9.5 ", "", "< 9.5   "},
      {"<12.3 ", "", "<12.3   "},   {" 11.8:", "", " 11.8:  "},   {"  9.5:", "V", "  9.5:V "},
      {" 11.8 ", "Rc", " 11.8Rc "}, {"<12.35:", "", "<12.35: "},
      // No point, or nothing at all: the rule stays inside the text.
      {" 12 ", "", " 12     "},     {"", "", "        "},           {"<", "", "< "},
      {"  ", "V", " V      "},      {".5", "", " .5     "},
      {"12345678", "", " 12345678"},  // fills the field, no terminator: pushes
  };
  for (const Case& c : cases) {
    Fields f;
    f.magnitude = c.magnitude;
    f.colour = c.colour;
    const std::string line = Line(pelk::REPORT_VSNET, f);
    EXPECT_EQ(line, "CYGV999    20030111.847 " + Padded(c.written, 8) + " ABC") << "'" << c.magnitude << "'";
  }
}

TEST(ReportLine, FieldsFilledToTheBrimWithPercentSignsAnd8BitBytes) {
  // Every text field full, none terminated; designation and type too.
  Fields f;
  f.variable = "%s%n%s%n%s%n";
  f.magnitude = "%n%s%n%s";
  f.colour = "\xe9\xff%s%d%n";
  f.chart = "#%n%s%n%";
  f.compStars = "%s%s%s%s%s%s%s%s";
  f.remarks = "%n%s";
  f.comment = "%n%n%n%n%n%n%n%n%n%n%n%n%n%n%n\xe9\xe9";
  const char harvard[12] = {'%', 's', '%', 's', '%', 's', '%', 's', '%', 's', '%', 's'};
  const char type[12] = {'N', 'L', '%', 's', '%', 's', '%', 's', '%', 's', '%', 's'};
  ReportLineContext c = Context("", "", true);
  c.harvard = harvard;
  c.type = type;
  c.observer = "A%sB";

  EXPECT_EQ(Line(pelk::REPORT_AAVSO, f, c), std::string("%s%s%s%s%s%s") + "%S%N%S%N%S%N" + "2452651.347 " +
                                                "%n%s%n%s" + " \xe9\xff%s%d%n" + "%s%s%s%s%s%" + "%n%s%n% " +
                                                "A%sB " + Padded(f.comment, 82));
  EXPECT_EQ(Line(pelk::REPORT_VSNET, f, c),
            std::string("%S%N%S%N%S%N 20030111.847 ") + " %n%s%n%s\xe9\xff%s%d%n" + " A%sB");
  EXPECT_EQ(Line(pelk::REPORT_ECLIPSING, f, c),
            std::string("%s%s%s%s%s%s%S%N%S%N%S%N20030111202000UT   ") + "%n%s%n%s" + "\xe9\xff%s%d%n" + "A%sB");

  // As text, an 8-bit byte is its Latin-1 character.
  TObs_data o = Make(f);
  EXPECT_TRUE(pelk::FormatObs(pelk::REPORT_VSNET, &o, c).Contains(wxString(L"\u00e9\u00ff%s%d%n")));
}

TEST(ReportLine, JulianDateThatNoCalendarTakes) {
  // A record may hold anything in its JD; the line is still written.
  for (double jd : {std::nan(""), 1e300, -1.0, 0.0}) {
    Fields f;
    f.jd = jd;
    EXPECT_EQ(Line(pelk::REPORT_VSNET, f).substr(11, 12), "00000000.000") << jd;
    EXPECT_EQ(Line(pelk::REPORT_ECLIPSING, f).substr(16, 14), "00000000000000") << jd;
    EXPECT_FALSE(Line(pelk::REPORT_AAVSO, f).empty());
  }
}

// ---------------------------------------------------------------------------
// JD text and options

TEST(ReportJd, DecimalsByVariabilityTypeAndByOption) {
  struct Case {
    bool autoJD;
    int option;
    const char* type;
    const char* text;
  } cases[] = {
      {true, 2, "N", "2452651.3472"},  {true, 2, "NL", "2452651.347"},  {true, 2, "NR", "2452651.347"},
      {true, 2, "NA", "2452651.3472"}, {true, 2, "SN", "2452651.3472"}, {true, 2, "SRB", "2452651.3"},
      {true, 2, "UGSS", "2452651.347"}, {true, 2, "EA", "2452651.35"}, {true, 2, "?", "2452651.35"},
      {true, 2, "AM", "2452651.347"},  {true, 2, "IA", "2452651.347"}, {true, 2, "LB", "2452651.3"},
      {true, 2, "M", "2452651.3"},     {true, 2, "RV", "2452651.3"},   {true, 2, "RR", "2452651.35"},
      {true, 2, "", "2452651.35"},     {true, 4, "A", "2452651.35"},
      // Automatic decimals off: the option, whatever the type.
      {false, 1, "N", "2452651.3"},    {false, 3, "M", "2452651.347"}, {false, 4, "", "2452651.3472"},
      // An option outside 1 to 4 gives 2.
      {false, 0, "N", "2452651.35"},   {false, 7, "N", "2452651.35"},
  };
  for (const Case& c : cases) {
    ReportOptions options;
    options.autoJD = c.autoJD;
    options.jdDecimals = c.option;
    EXPECT_EQ(pelk::FormatJD(kJd, c.type, options), c.text) << c.type << " " << c.option;
  }
  // The field is decimals + 8 wide.
  ReportOptions four;
  four.jdDecimals = 4;
  EXPECT_EQ(pelk::FormatJD(0.5, "", four), "      0.5000");
}

TEST(ReportJd, OptionsFromTheConfiguration) {
  struct Case {
    const char* autoJD;  // nullptr: not set
    const char* decimals;
    bool expectAuto;
    int expectDecimals;
  } cases[] = {
      {nullptr, nullptr, false, 2}, {"Yes", "4", true, 4},   {"yes", "1", false, 1}, {"No", "3", false, 3},
      {"1", "0", false, 2},         {"Yes", "7", true, 2},  {nullptr, "abc", false, 2}, {nullptr, "-3", false, 2},
      {nullptr, "", false, 2},
  };
  for (const Case& c : cases) {
    ScopedConfig store;
    if (c.autoJD) config->Write("Features/AutoJD", c.autoJD);
    if (c.decimals) config->Write("Features/JDDec", c.decimals);
    const ReportOptions options = pelk::ReadOptions();
    EXPECT_EQ(options.autoJD, c.expectAuto) << (c.autoJD ? c.autoJD : "-");
    EXPECT_EQ(options.jdDecimals, c.expectDecimals) << (c.decimals ? c.decimals : "-");
  }
}

TEST(ReportTables, MonthNamesAndCaseConversion) {
  EXPECT_STREQ(pelk::monthName[0], "JAN");
  EXPECT_STREQ(pelk::monthName[11], "DEC");
  char text[] = "Ab1\xe9z";
  EXPECT_EQ(pelk::strupr(text), text);
  EXPECT_STREQ(text, "AB1\xe9Z");
  EXPECT_STREQ(pelk::strlwr(text), "ab1\xe9z");
}

// ---------------------------------------------------------------------------
// Header

namespace {

// A header of observer ABC; the date field shows 2003.01.31, and it is
// January 2003 now.
pelk::ReportHeaderArgs HeaderArgs(int type, int selection, int destination) {
  pelk::ReportHeaderArgs a;
  a.reportType = type;
  a.monthSelection = selection;
  a.destination = destination;
  a.year = 2003;
  a.month = 1;
  a.day = 31;
  a.nowYear = 2003;
  a.nowMonth = 1;
  a.observer = "ABC";
  a.instruments = "3\" refr.";
  return a;
}

struct HeaderTest : testing::Test {
  ScopedConfig store;
  void SetObserver() {
    config->Write("User/ABC/Name", "Kiss Anna");
    config->Write("User/ABC/Address", wxString(L"F\u00f5 utca 1"));
    config->Write("User/ABC/City", "Budapest");
    config->Write("User/ABC/Zip", "1111");
    config->Write("User/ABC/Country", "HU");
  }
};

}  // namespace

TEST_F(HeaderTest, TemplatesByDestinationWithEveryPlaceholder) {
  SetObserver();
  const wxString address = L"F\u00f5 utca 1, Budapest, HU 1111";
  const wxString version(kVersion);
  struct Case {
    const char* what;
    pelk::ReportHeaderArgs args;
    wxString header;
  } cases[] = {
      {"AAVSO monthly, previous month in January", HeaderArgs(0, 10, 1),
       "ABC observations - 2002.12\n\nKiss Anna\nAddress: " + address + "\nInstruments: 3\" refr.\n\nCreated: " +
           version},
      {"VSNET-ADM nightly: the morning's day is not carried", HeaderArgs(2, 10, 3),
       "Nightly observations 2003.01.31/32\nObserver: Kiss Anna - ABC\nAddress: " + address +
           "\nInstrument used: 3\" refr."},
      {"no destination: the fallback", HeaderArgs(1, 10, -1), "ABC observations - 2003.01.31\n\nCreated: " + version},
      {"no such destination: the fallback", HeaderArgs(1, 10, 5), "ABC observations - 2003.01.31\n\nCreated: " + version},
      {"VSNET-OBS special report", HeaderArgs(4, 3, 2), "ABC observations - 2003.01.31\n\nCreated: " + version},
      {"KESU, eleven months back", HeaderArgs(3, 0, 0),
       wxString(L"ABC \u00e9szlel\u00e9sek - 2002.02\n\nKiss Anna\nC\u00edm: ") + address +
           wxString(L"\nT\u00e1vcs\u00f6vek: 3\" refr.\n\nK\u00e9sz\u00fclt: ") + version},
      {"KESU eclipsing, this month", HeaderArgs(3, 11, 4),
       wxString(L"ABC fed\u00e9si \u00e9szlel\u00e9sek - 2003.01\n\nK\u00e9sz\u00fclt: ") + version},
  };
  for (const Case& c : cases) EXPECT_EQ(pelk::CreateReportHeader(c.args), c.header) << c.what;

  // Months back from December stay in the year; from March they cross it.
  pelk::ReportHeaderArgs a = HeaderArgs(0, 0, -1);
  a.nowYear = 2003;
  a.nowMonth = 12;
  EXPECT_TRUE(pelk::CreateReportHeader(a).StartsWith("ABC observations - 2003.01\n"));
  a.nowMonth = 3;
  a.monthSelection = 8;
  EXPECT_TRUE(pelk::CreateReportHeader(a).StartsWith("ABC observations - 2002.12\n"));
}

TEST_F(HeaderTest, PersonalDataAreNeverReadAsPlaceholdersAndMissingOnesAreEmpty) {
  config->Write("User/ABC/Name", "%INSTRUMENTS% %DATE% 100%");
  config->Write("User/ABC/City", "%s%n");
  pelk::ReportHeaderArgs a = HeaderArgs(0, 10, 1);
  a.instruments = "%NAME%";
  EXPECT_EQ(pelk::CreateReportHeader(a),
            "ABC observations - 2002.12\n\n%INSTRUMENTS% %DATE% 100%\nAddress: , %s%n,  \nInstruments: %NAME%\n\n"
            "Created: " +
                wxString(kVersion));
}

TEST_F(HeaderTest, EmptyTemplateFallsBack) {
  WriteTestFile("test.lng", "{18002, \"\"}\n{18000, \"%OBSERVER% only\"}\n");
  ASSERT_EQ(config->LoadLanguage("test.lng"), 0);
  ASSERT_EQ(config->GetText(18002), "");
  EXPECT_EQ(pelk::CreateReportHeader(HeaderArgs(0, 10, 1)), "ABC only");
}

// ---------------------------------------------------------------------------
// Report file

namespace {

// Observer ABC with two estimates: V999 CYG (in the star table) and a star
// the table lacks, in designation order.
struct ReportFileTest : testing::Test {
  DbTestSetup setup;
  ScopedPrompt scoped;
  RecordingPrompt& prompt = scoped.prompt;
  wxDbObsIndex index;
  ReportOptions options;

  void SetUp() override {
    const TStar_data star = Star("V999 CYG", "2000+40", "EA", 'F');
    ASSERT_EQ(g_stars.Insert(&star), 0);
    Fields missing;
    missing.variable = "NEW STAR";
    missing.jd = kJd - 1;
    missing.comment = "";
    for (const Fields& f : {missing, Fields()}) {
      TObs_data o = Make(f);
      ASSERT_GT(g_obs.Insert(&o), 0);
    }
    ASSERT_EQ(index.Create(&g_obs, 0, 0, "%FU", 1), 1);
    ASSERT_EQ(index.GetCount(), 2);
    options.jdDecimals = 4;
  }
  std::string Path(const char* name = "ABCJAN03.aavso") const { return TestDir() + "/" + name; }
  int Write(int format, const wxString& header = "H", const char* name = "ABCJAN03.aavso") {
    return pelk::CreateReportFile(Path(name), format, header, index, options, "ABC");
  }
};

const std::string kLines =
    "2000+40 V999 CYG  2452651.3472 11.8 B      115 121    2000a   ABC  thin clouds" + std::string(71, ' ') +
    "\n" + "9999+99 NEW STAR  2452650.3472 11.8 B      115 121    2000a   ABC  " + std::string(82, ' ') + "\n";

}  // namespace

TEST_F(ReportFileTest, OneLinePerEstimateAndTheHeaderOnlyWhenAskedFor) {
  struct Case {
    const char* option;  // nullptr: not set
    bool header;
  } cases[] = {{nullptr, false}, {"No", false}, {"yes", false}, {"Yes", true}};
  for (const Case& c : cases) {
    if (c.option) config->Write("Features/ReportHeader", c.option);
    ASSERT_EQ(Write(pelk::REPORT_AAVSO, wxString(L"ABC \u00e9szlel\u00e9sek\r\n\nK\u00e9sz\u00fclt\n")), 2);
    // The header's empty line is kept, its last line break adds no line,
    // and only LF ends a line.
    const std::string head = "ABC \xe9szlel\xe9sek\n\nK\xe9sz\xfclt\n" + kDashes + "\n";
    EXPECT_EQ(ReadFile(Path()), (c.header ? head : "") + kLines) << (c.option ? c.option : "-");
  }
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"ABCJAN03.aavso"});
}

TEST_F(ReportFileTest, HungarianTemplateIsWrittenAsLatin1Bytes) {
  config->Write("Features/ReportHeader", "Yes");
  pelk::ReportHeaderArgs a = HeaderArgs(0, 10, 0);
  a.instruments = "8L";
  ASSERT_EQ(Write(pelk::REPORT_AAVSO, pelk::CreateReportHeader(a)), 2);
  EXPECT_EQ(ReadFile(Path()), "ABC \xe9szlel\xe9sek - 2002.12\n\n\nC\xedm: , ,  \nT\xe1vcs\xf6vek: 8L\n\nK\xe9sz\xfclt: " +
                                  kVersion + "\n" + kDashes + "\n" + kLines);
}

TEST_F(ReportFileTest, OtherFormatsAndOptions) {
  options.autoJD = true;
  ASSERT_EQ(Write(pelk::REPORT_AAVSO), 2);
  // EA and the missing star's "?" both get two decimals.
  EXPECT_EQ(ReadFile(Path()).substr(18, 12), "2452651.35  ");
  EXPECT_EQ(ReadFile(Path()).substr(150 + 18, 12), "2452650.35  ");
  ASSERT_EQ(Write(pelk::REPORT_VSNET, "H", "ABC20030111.vsn"), 2);
  EXPECT_EQ(ReadFile(Path("ABC20030111.vsn")),
            "CYGV999    20030111.847  11.8    ABC\nNEWSTAR    20030110.847  11.8    ABC\n");
  ASSERT_EQ(Write(pelk::REPORT_ECLIPSING, "H", "ABCJAN03.fed"), 2);
  EXPECT_EQ(ReadFile(Path("ABCJAN03.fed")), "2000+40 V999 CYG20030111202000UT    11.8       ABC\n"
                                            "9999+99 NEW STAR20030110202000UT    11.8       ABC\n");
}

TEST_F(ReportFileTest, EmptySelectionWritesNothing) {
  const std::string old = WriteTestFile("ABCJAN03.aavso", "last month's report\n");
  ASSERT_EQ(index.Create(&g_obs, kJd + 1, 0, "%FU", 1), 1);
  ASSERT_EQ(index.GetCount(), 0);
  EXPECT_EQ(Write(pelk::REPORT_AAVSO), 0);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "You have no observations for this interval.");
  EXPECT_EQ(prompt.shown[0].caption, "Creating Observation Report");
  EXPECT_EQ(prompt.shown[0].style, wxOK | wxICON_EXCLAMATION);
  EXPECT_EQ(ReadFile(old), "last month's report\n");

  // Every entry deleted through the index: nothing left to report either.
  ASSERT_EQ(index.Create(&g_obs, 0, 0, "%FU", 1), 1);
  ASSERT_EQ(index.Delete(0), 0);
  ASSERT_EQ(index.Delete(1), 0);
  prompt.shown.clear();
  EXPECT_EQ(Write(pelk::REPORT_AAVSO), 0);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "You have no observations for this interval.");
  EXPECT_EQ(ReadFile(old), "last month's report\n");
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"ABCJAN03.aavso"});
}

TEST_F(ReportFileTest, ReplacedOnlyByACompleteReport) {
  const std::string old = std::string(4000, 'x') + "\n";
  WriteTestFile("ABCJAN03.aavso", old);
  struct Case {
    int format;
    const char* message;
  } cases[] = {
      {pelk::REPORT_AAVSO, "AAVSO monthly report file cannot be created."},
      {pelk::REPORT_VSNET, "AAVSO nightly report file cannot be created."},
      {pelk::REPORT_ECLIPSING, "AAVSO monthly report file cannot be created."},
  };
  for (const Case& c : cases) {
    prompt.shown.clear();
    pelk::AtomicWriteFailAfterForTests(40);
    EXPECT_EQ(Write(c.format), 0);
    pelk::AtomicWriteFailAfterForTests(-1);
    ASSERT_EQ(prompt.shown.size(), 1u) << c.format;
    EXPECT_EQ(prompt.shown[0].text, c.message);
    EXPECT_EQ(prompt.shown[0].caption, "Creating Observation Report");
    EXPECT_EQ(prompt.shown[0].style, wxOK | wxICON_EXCLAMATION);
    EXPECT_EQ(ReadFile(Path()), old);
    EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{"ABCJAN03.aavso"});
  }

  // A folder that does not exist: nothing anywhere.
  prompt.shown.clear();
  EXPECT_EQ(Write(pelk::REPORT_AAVSO, "H", "missing/ABCJAN03.aavso"), 0);
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "AAVSO monthly report file cannot be created.");

  // A good write replaces the longer old report whole.
  prompt.shown.clear();
  EXPECT_EQ(Write(pelk::REPORT_AAVSO), 2);
  EXPECT_EQ(ReadFile(Path()), kLines);
  EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ReportFileTest, LargeReportIsWrittenWholeInOrder) {
  // Well over a megabyte of lines, made in more than one piece.
  const int extra = 8000;
  for (int i = 0; i < extra; ++i) {
    Fields f;
    f.jd = kJd + 1 + i / 1000.0;
    TObs_data o = Make(f);
    ASSERT_GT(g_obs.Insert(&o), 0);
  }
  ASSERT_EQ(index.Create(&g_obs, 0, 0, "%FU", 1), 1);
  ASSERT_EQ(Write(pelk::REPORT_AAVSO), extra + 2);
  const std::string file = ReadFile(Path());
  ASSERT_EQ(file.size(), (size_t)(extra + 2) * 150);
  // Sorted by designation, then JD: the star of the table, the missing one last.
  for (int i = 0; i <= extra; ++i) {
    const std::string line = file.substr((size_t)i * 150, 150);
    char jd[16];
    snprintf(jd, sizeof jd, "%.4f", kJd + (i == 0 ? 0 : 1 + (i - 1) / 1000.0));
    ASSERT_EQ(line.substr(0, 30), std::string("2000+40 V999 CYG  ") + jd) << i;
    ASSERT_EQ(line[149], '\n') << i;
  }
  EXPECT_EQ(file.substr((size_t)(extra + 1) * 150, 16), "9999+99 NEW STAR");
}
