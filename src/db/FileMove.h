// Moving a file to another folder without ever losing it.
#pragma once

#include <wx/string.h>

namespace pelk {

// Moves `from` to `to`, replacing a file at `to`. Within one file system
// this is a rename; across file systems the content is written to `to`
// whole (atomically) and `from` is removed only after that. 0, or -1 (then
// `from` is where it was).
int MoveFileWhole(const wxString& from, const wxString& to);

}  // namespace pelk
