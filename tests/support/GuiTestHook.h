// wxTEST_DIALOG reports an unmet or unexpected dialog as a GoogleTest
// failure. Include this before <wx/testing.h> in every GUI test.
#pragma once

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

class wxTestingModalHook;
class PelkTestingHook;
#define wxTEST_DIALOG_HOOK_CLASS PelkTestingHook
#include <wx/testing.h>

class PelkTestingHook : public wxTestingModalHook {
 public:
  PelkTestingHook(const char* file, int line, const char* func) : wxTestingModalHook(file, line, func), m_fileForReport(file ? file : __FILE__), m_lineForReport(line) {}

 protected:
  void ReportFailure(const wxString& msg) override {
    ADD_FAILURE_AT(m_fileForReport, m_lineForReport) << msg.utf8_str();
  }

 private:
  const char* m_fileForReport;
  int m_lineForReport;
};

#include <functional>

// Expects a modal dialog of type T and lets the test act on it (set its
// controls, check its texts) and choose the result it returns with.
template <class T>
class wxExpectDialog : public wxModalExpectation {
 public:
  explicit wxExpectDialog(std::function<int(T*)> act) : m_act(std::move(act)) {}

 protected:
  int Invoke(wxDialog* dlg) const override {
    T* typed = dynamic_cast<T*>(dlg);
    if (!typed) return wxID_NONE;
    return m_act(typed);
  }
  wxString GetDefaultDescription() const override { return wxString(typeid(T).name()); }

 private:
  std::function<int(T*)> m_act;
};

// Expects a message box with exactly this text and answers it.
inline wxExpectDialog<wxMessageDialog> wxExpectMessage(const wxString& text, int answer = wxID_OK) {
  return wxExpectDialog<wxMessageDialog>([text, answer](wxMessageDialog* box) {
    EXPECT_EQ(box->GetMessage(), text);
    return answer;
  });
}
