// The diagnostic file "pelk.rpt" in the program folder: rewritten at every
// start with a description of the system and of the program's data files;
// configuration changes are appended to it later.
#pragma once

#include <wx/ffile.h>
#include <wx/string.h>

// Entry flags of Report.
enum {
  RPT_NOMSG = 2,    // no message box (the program always sets it)
  RPT_ERROR = 4,    // "error" instead of "info"
  RPT_ONELINE = 8,  // one-line layout
};

class wxRpt {
 public:
  wxRpt() = default;
  virtual ~wxRpt() { Close(); }

  int Open(const wxString& name);
  int Close();
  int ReportSystem();
  int ReportFile(int kind, const wxString& name, const wxString& description);
  int WriteFileSizeAndDate(const wxString& path);
  // `text` is a format that receives the system's last error code and its
  // message, in this order; "%%" gives "%". Data from the user must be
  // passed through pelk::EscapePercent first.
  int Report(int flags, const wxString& title, const wxString& text,
             const wxString& location1 = wxString(), const wxString& location2 = wxString());

  bool IsOpened() const { return m_file.IsOpened(); }

  // The longest entry text written, after the error code and message are
  // put in; longer texts are cut.
  static const size_t kMaxEntryText = 155;

 private:
  int ReportCode(int flags, const wxString& title, const wxString& text, int code);
  void Write(const wxString& text);

  wxFFile m_file;
  wxString m_name;
};

extern wxRpt g_rpt;

namespace pelk {
// Fills the error code and message into an entry text: the first directive
// takes the code when it is an integer one, the second the message when it
// is a string one; "%%" gives "%"; anything else stays as it is.
wxString FormatReportText(const wxString& text, int code, const wxString& message);
}  // namespace pelk
