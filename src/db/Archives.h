// Converting an observer's archive between one file and one file per year,
// when the yearly-archive switch changes.
#pragma once

#include <vector>
#include <wx/string.h>

namespace pelk {

// Years of the yearly archive files of `code` in `folder` (code + four
// characters + ".arch" whose four characters read as a number above 0), in
// the order the folder lists them.
std::vector<int> YearlyArchiveYears(const wxString& folder, const wxString& code);

// Splits the single archive of `code` into one file per local calendar
// year that holds estimates, then deletes the single archive. A year that
// cannot be written keeps the single archive on disk. 0, or -1 on failure.
int SplitArchiveByYear(const wxString& code);

// Merges every yearly archive of `code` into the single archive, then
// deletes the yearly files. Nothing is deleted unless the single archive
// was written. 0, or -1 on failure.
int JoinYearlyArchives(const wxString& code);

}  // namespace pelk
