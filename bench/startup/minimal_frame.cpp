// The yardstick of the start-up measure: the smallest toolkit program that
// shows one frame.
#include <wx/app.h>
#include <wx/frame.h>

class MinimalApp : public wxApp {
 public:
  bool OnInit() override {
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Minimal frame", wxPoint(50, 50), wxSize(510, 360));
    frame->Show(true);
    return true;
  }
};

wxIMPLEMENT_APP(MinimalApp);
