#include <wx/app.h>

#include "app/PelkApp.h"

// Checks that the toolkit is the one the program was built for and creates
// the application object.
wxIMPLEMENT_APP_NO_MAIN(wxObsApp);

int main(int argc, char** argv) { return wxEntry(argc, argv); }
