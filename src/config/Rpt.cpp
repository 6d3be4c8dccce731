#include "config/Rpt.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <wx/log.h>
#include <wx/utils.h>

#include "config/MyConfig.h"
#include "db/Latin1.h"

wxRpt g_rpt;

namespace {

// The classic 24-character date form followed by a line end
// ("Sat May 17 21:34:05 2003\n").
wxString ClassicDate(time_t t) {
  struct tm tmv;
  if (!localtime_r(&t, &tmv)) return "?\n";
  char buf[64];
  if (!asctime_r(&tmv, buf)) return "?\n";
  return wxString(buf);
}

}  // namespace

namespace pelk {

wxString FormatReportText(const wxString& text, int code, const wxString& message) {
  wxString out;
  int next = 0;  // 0: the code is next, 1: the message, 2: nothing left
  for (size_t i = 0; i < text.length(); ++i) {
    wxUniChar c = text[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i + 1 < text.length() && text[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // A directive: flags, width, precision, length, conversion.
    size_t j = i + 1;
    while (j < text.length() && wxString("-+ #0123456789.lh").Find(text[j]) != wxNOT_FOUND) ++j;
    wxUniChar conv = j < text.length() ? text[j] : wxUniChar(0);
    // Flags, width and precision are kept (a short width only: the entry is
    // cut to its bound anyway); the length modifier is ours to choose.
    wxString directive = text.Mid(i, j - i);
    directive.Replace("l", "");
    directive.Replace("h", "");
    bool modest = directive.length() <= 6;
    if (next == 0 && modest && (conv == 'd' || conv == 'i')) {
      out += wxString::Format(directive + "d", code);
      next = 1;
      i = j;
    } else if (next == 1 && modest && conv == 's') {
      out += wxString::Format(directive + "s", message);
      next = 2;
      i = j;
    } else {
      out += c;  // not one we fill: copied as it stands
    }
  }
  return out;
}

}  // namespace pelk

void wxRpt::Write(const wxString& text) {
  if (!m_file.IsOpened()) return;
  std::string bytes = pelk::ToLatin1(text);
  m_file.Write(bytes.data(), bytes.size());
}

int wxRpt::Open(const wxString& name) {
  if (m_file.IsOpened()) return 1;
  wxLogNull quiet;
  if (!name.empty()) {
    m_name = name;
    if (!m_file.Open(m_name, "w")) return 0;
  } else {
    if (m_name.empty()) return 0;
    if (!m_file.Open(m_name, "a")) return 0;
  }
  if (m_file.Length() == 0) Write("Report File\n\n");
  return 1;
}

int wxRpt::Close() {
  if (m_file.IsOpened()) m_file.Close();
  return 1;
}

int wxRpt::ReportSystem() {
  if (!m_file.IsOpened()) return 0;
  const char* locale = setlocale(LC_ALL, nullptr);
  tzset();
  wxString text = wxGetOsDescription();
  text += wxString::Format("\n\tlanguage = %s\n", locale ? locale : "");
  text += wxString::Format("\tcurrent time = %s\ttime zone = %s (%s)\n", ClassicDate(time(nullptr)),
                           tzname[0] ? tzname[0] : "",
                           daylight ? (tzname[1] ? tzname[1] : "") : "dst not set");
  Write(text);
  return 1;
}

int wxRpt::WriteFileSizeAndDate(const wxString& path) {
  struct stat st;
  if (stat(path.fn_str(), &st) != 0) {
    int code = errno;
    Write("file don't exist");
    errno = code;
    return 0;
  }
  FILE* f = fopen(path.fn_str(), "rb");
  if (!f) {
    int code = errno;
    Write("file cannot be opened");
    errno = code;
    return 0;
  }
  fclose(f);
  Write(wxString::Format("\tsize = %ld bytes\n\tfile date = %s", (long)st.st_size, ClassicDate(st.st_mtime)));
  return 1;
}

int wxRpt::ReportFile(int kind, const wxString& name, const wxString& description) {
  if (!m_file.IsOpened()) return 0;
  wxString path = config ? config->GetFolder(name, kind) : name;
  Write(wxString::Format("\n%s (%s)\n", description, path));
  errno = 0;
  if (!WriteFileSizeAndDate(path)) {
    ReportCode(RPT_NOMSG | RPT_ERROR | RPT_ONELINE, "no file info available", "(%d) %s", errno);
    return 0;
  }
  return 1;
}

int wxRpt::Report(int flags, const wxString& title, const wxString& text, const wxString&,
                  const wxString&) {
  return ReportCode(flags, title, text, errno);
}

int wxRpt::ReportCode(int flags, const wxString& title, const wxString& text, int code) {
  wxString message = wxString(strerror(code));
  wxString filled = pelk::FormatReportText(text, code, message);
  if (filled.length() > kMaxEntryText) filled.Truncate(kMaxEntryText);
  const char* kind = (flags & RPT_ERROR) ? "error" : "info";
  const wxString location;  // entries carry no location

  bool reopened = false;
  if (!m_file.IsOpened()) {
    if (!Open(wxString())) return 1;
    reopened = true;
  }
  if (flags & RPT_ONELINE)
    Write(wxString::Format("\t%s %s: %s - %s\n", kind, location, title, filled));
  else
    Write(wxString::Format("\n%s\n\t%s %s: %s\n", title, kind, location, filled));
  if (reopened) Close();
  return 1;
}
