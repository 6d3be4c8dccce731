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
