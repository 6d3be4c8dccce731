// The property sheet, the one-line entry, the list dialog and recoloured
// images that many dialogs share.
#include <wx/bitmap.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

#include "GuiFixture.h"
#include "app/GeneralEntry.h"
#include "app/Plist.h"
#include "app/PropPage.h"
#include "app/Properties.h"
#include "app/xpmsrc.h"
#include "resources/tb_help.xpm"

using namespace pelk_test;

namespace {

class GenericDialogs : public GuiTest {
 protected:
  void SetUp() override { MakeConfig(); }
};

void Click(wxWindow* dlg, int id) {
  wxCommandEvent ev(wxEVT_BUTTON, id);
  ev.SetEventObject(dlg);
  dlg->ProcessWindowEvent(ev);
}

// A page that records what the sheet asks of it.
class RecordingPage : public myPropPage {
 public:
  RecordingPage(wxWindow* parent, int titleId, std::string* log) : myPropPage(parent, titleId), m_log(log) {}
  void OnInit() override { *m_log += "init" + std::to_string(GetId()) + " "; }
  void OnOK() override { *m_log += "ok" + std::to_string(GetId()) + " "; }
  void OnCancel() override { *m_log += "cancel" + std::to_string(GetId()) + " "; }
  void OnHelp() override { *m_log += "help" + std::to_string(GetId()) + " "; }

 private:
  std::string* m_log;
};

}  // namespace

TEST_F(GenericDialogs, EntryLengthCheck) {
  struct Case {
    const char* text;
    int min, max;
    bool accepted;
    const char* message;
  } cases[] = {
      {"A", 2, 3, false, "Text size must be between 2 and 3"},
      {"AB", 2, 3, true, nullptr},
      {"ABC", 2, 3, true, nullptr},
      {"ABCD", 2, 3, false, "Text size must be between 2 and 3"},
      {"AB", 3, 1, false, "Text size must be between 3 and 3"},
      {"ABC", 3, 1, true, nullptr},
      {"", -1, 0, true, nullptr},
      {"anything long", -1, 2, true, nullptr},
  };
  for (const Case& c : cases) {
    wxGeneralEntry dlg(nullptr, 16467, 16468, 12002);
    dlg.Prepare("", c.min, c.max);
    dlg.InitDialog();
    dlg.Field()->SetValue(c.text);
    if (c.accepted) {
      Click(&dlg, wxID_OK);
      EXPECT_EQ(dlg.GetReturnCode(), wxID_OK) << c.text;
    } else {
      wxTEST_DIALOG(Click(&dlg, wxID_OK), wxExpectMessage(c.message));
      EXPECT_EQ(dlg.GetReturnCode(), 0) << c.text;  // the dialog stays open
    }
  }
}

TEST_F(GenericDialogs, EntryHandsBackTextAfterCancelToo) {
  wxGeneralEntry dlg(nullptr, 16467, 16468, 12002);
  EXPECT_EQ(dlg.GetTitle(), "Add new observer");
  EXPECT_EQ(dlg.Field()->GetToolTip()->GetTip(), "Initials of the new observer");  // always set
  wxString text = "ini";
  int rc = 0;
  wxTEST_DIALOG(rc = dlg.CallDialog(text, 3, 3), wxExpectDialog<wxGeneralEntry>([](wxGeneralEntry* d) {
                  d->Field()->SetValue("XYZW");
                  return wxID_CANCEL;
                }));
  EXPECT_EQ(rc, wxID_CANCEL);
  EXPECT_EQ(text, "XYZW");

  dlg.InitDialog();  // the field starts with the text handed in
  EXPECT_EQ(dlg.Field()->GetValue(), "ini");
}

TEST_F(GenericDialogs, SheetCallsEveryPageInOrder) {
  std::string log;
  wxProperties sheet(16523, nullptr);
  EXPECT_EQ(sheet.GetTitle(), "Program Options");
  EXPECT_EQ(sheet.AddProp(new RecordingPage(sheet.Notebook(), 133, &log)), 1);
  EXPECT_EQ(sheet.AddProp(new RecordingPage(sheet.Notebook(), 185, &log)), 1);
  EXPECT_EQ(sheet.AddProp(new RecordingPage(sheet.Notebook(), 186, &log)), 1);
  EXPECT_EQ(log, "init133 init185 init186 ");
  EXPECT_EQ(sheet.Notebook()->GetPageText(1), "Report");
  EXPECT_EQ(sheet.Notebook()->GetSelection(), 0);
  EXPECT_GE(sheet.Notebook()->GetSize().GetWidth(), 350);

  log.clear();
  sheet.Notebook()->SetSelection(2);
  Click(&sheet, wxID_HELP);
  EXPECT_EQ(log, "help186 ");

  log.clear();
  Click(&sheet, wxID_OK);
  EXPECT_EQ(log, "ok133 ok185 ok186 ");
  EXPECT_EQ(sheet.GetReturnCode(), wxID_OK);

  log.clear();
  Click(&sheet, wxID_CANCEL);
  EXPECT_EQ(log, "cancel133 cancel185 cancel186 ");
  EXPECT_EQ(sheet.GetReturnCode(), wxID_CANCEL);
}

TEST_F(GenericDialogs, SheetHoldsSixteenPages) {
  std::string log;
  wxProperties sheet(16476, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(sheet.AddProp(new RecordingPage(sheet.Notebook(), 132, &log)), 1);
  RecordingPage* extra = new RecordingPage(sheet.Notebook(), 132, &log);
  EXPECT_EQ(sheet.AddProp(extra), 0);
  extra->Destroy();
  EXPECT_EQ(sheet.PageCount(), 16);
  EXPECT_EQ(sheet.Notebook()->GetPageCount(), 16u);
}

TEST_F(GenericDialogs, ListDialog) {
  wxPlist dlg(nullptr, "initial", "Header text");
  dlg.SetParams(16529, 12001, 120);
  dlg.AddItem("Observations total", "12");
  dlg.AddItem("Observed stars", "3");
  dlg.InitDialog();
  EXPECT_EQ(dlg.GetTitle(), "Statistics of Observations");
  EXPECT_EQ(dlg.List()->GetToolTip()->GetTip(), "Statistical data of the selected observations");
  ASSERT_EQ(dlg.List()->GetItemCount(), 2);
  EXPECT_EQ(dlg.List()->GetItemText(1, 0), "Observed stars");
  EXPECT_EQ(dlg.List()->GetItemText(1, 1), "3");
  EXPECT_EQ(dlg.List()->GetColumnWidth(0), 120);
  EXPECT_NE(dlg.FindWindow(ID_PLIST_HEADER), nullptr);
  Click(&dlg, wxID_CLOSE);
  EXPECT_EQ(dlg.GetReturnCode(), wxID_CLOSE);

  wxPlist bare(nullptr, "t", "");
  EXPECT_EQ(bare.FindWindow(ID_PLIST_HEADER), nullptr);
}

TEST_F(GenericDialogs, RecolouredImage) {
  XpmSrc img(tb_help_xpm);
  ASSERT_NE(img.Lines(), nullptr);
  EXPECT_EQ(img.Width(), 32);
  EXPECT_EQ(img.Height(), 32);
  std::vector<std::string> before(img.Lines(), img.Lines() + 1 + img.Colors() + img.Height());

  // The first colour line with a # value gets the new colour.
  int target = 0;
  for (int i = 1; i <= img.Colors(); ++i)
    if (strstr(img.Lines()[i], "c #")) target = i;
  ASSERT_GT(target, 0);
  std::string key(img.Lines()[target], 1);
  img.SetRGB(key.c_str(), 0x12, 0xab, 0xff);
  EXPECT_EQ(std::string(img.Lines()[target]), key + " c #12abff");
  for (int i = 0; i < (int)before.size(); ++i) {
    if (i != target) {
      EXPECT_EQ(before[(size_t)i], img.Lines()[i]) << i;
    }
  }

  // A key that no colour line starts with changes nothing.
  std::vector<std::string> now(img.Lines(), img.Lines() + before.size());
  img.SetRGB("~", 1, 2, 3);
  for (size_t i = 0; i < now.size(); ++i) EXPECT_EQ(now[i], img.Lines()[i]);

  wxBitmap bmp(img.Lines());
  EXPECT_TRUE(bmp.IsOk());
  EXPECT_EQ(bmp.GetWidth(), 32);

  // Images that are no images are not copied.
  static const char* const bad[] = {"32 x 32", nullptr};
  static const char* const shortImage[] = {"2 2 1 1", ". c #000000", "..", nullptr};
  EXPECT_EQ(img.SetXpm(bad), 0);
  EXPECT_EQ(img.Lines(), nullptr);
  EXPECT_EQ(img.SetXpm(shortImage), 0);
  EXPECT_EQ(img.SetXpm(nullptr), 0);
}
