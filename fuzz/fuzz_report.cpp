// Report lines and headers from a record and settings of arbitrary bytes.
// The input is laid out as:
//   120 bytes   the estimate (TObs_data, as stored)
//   12 + 12     the index's designation and type (no terminator needed)
//   8 bytes     options: JD decimals and automatic decimals, report type,
//               month item, destination, date, whether a template follows
//   the rest    "\0"-separated: observer initials, instruments, name,
//               address, city, zip, country, and a header template
// Missing bytes count as zeros.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "config/MyConfig.h"
#include "db/Latin1.h"
#include "report/ReportFormat.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  void Bytes(void* out, size_t n) {
    memset(out, 0, n);
    const size_t take = m_pos < m_size ? std::min(n, m_size - m_pos) : 0;
    memcpy(out, m_data + m_pos, take);
    m_pos += n;
  }
  uint8_t Byte() {
    uint8_t b;
    Bytes(&b, 1);
    return b;
  }
  // The next "\0"-terminated piece (to the end of the input for the last).
  std::string Piece() {
    std::string out;
    while (m_pos < m_size && m_data[m_pos] != 0) out += (char)m_data[m_pos++];
    ++m_pos;
    return out;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

const char* const kPersonal[] = {"Name", "Address", "City", "Zip", "Country"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelk_fuzz::Setup();
  Input in(data, size);

  TObs_data obs;
  in.Bytes(&obs, sizeof obs);
  char harvard[12], type[12];
  in.Bytes(harvard, sizeof harvard);
  in.Bytes(type, sizeof type);
  const uint8_t jd = in.Byte(), kind = in.Byte(), month = in.Byte(), destination = in.Byte();
  const uint8_t year0 = in.Byte(), year1 = in.Byte(), day = in.Byte(), flags = in.Byte();

  pelk::ReportLineContext context;
  context.harvard = harvard;
  context.type = type;
  // The options as the configuration gives them, and beyond.
  context.options.jdDecimals = jd & 7;
  context.options.autoJD = (jd & 8) != 0;
  context.observer = in.Piece();
  const wxString observer = pelk::FromLatin1(context.observer);

  for (int format = -1; format <= 3; ++format) {
    TObs_data scratch = obs;
    const wxString line = pelk::FormatObs(format, &scratch, context);
    if ((format < 0 || format > 2) != line.empty()) pelk_fuzz::Fail("a line for an unknown format, or none for a known one");
  }
  pelk::FormatJD(obs.jd, pelk::FromLatin1(type, sizeof type), context.options);

  // The header, with the observer's personal data and perhaps a template
  // of a language file.
  pelk::ReportHeaderArgs args;
  args.reportType = kind % 5;
  args.monthSelection = month % 12;
  args.destination = (int)(destination % 7) - 1;
  args.year = year0 | (year1 << 8);
  args.month = month >> 4;
  args.day = day;
  args.nowYear = 2026;
  args.nowMonth = 12;
  args.observer = observer;
  args.instruments = pelk::FromLatin1(in.Piece());
  for (const char* key : kPersonal) config->Write("User/" + observer + "/" + key, pelk::FromLatin1(in.Piece()));
  const bool ownTemplate = (flags & 1) != 0;
  if (ownTemplate) {
    const std::string line = "{" + std::to_string(18001 + (args.destination < 0 ? 0 : args.destination)) +
                             ", \"" + in.Piece() + "\"}\n";
    pelk_fuzz::WriteFile("report.lng", reinterpret_cast<const uint8_t*>(line.data()), line.size());
    config->LoadLanguage("report.lng");
  }
  pelk::CreateReportHeader(args);

  // Nothing of this run stays for the next.
  config->DeleteAll();
  config->SetFolder(wxString(pelk_fuzz::Dir() + "/"), FOLDER_DATAPATH);
  if (ownTemplate) config->ResetLanguage();
  return 0;
}
