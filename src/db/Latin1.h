// The one pair of conversions between wxString and the ISO-8859-1 bytes of
// record files, language files, validation files and report files.
#pragma once

#include <cstddef>
#include <string>
#include <wx/string.h>

namespace pelk {

// Bytes up to the first NUL or `maxLen`, whichever comes first, so that a
// field without terminator is never read past its end.
wxString FromLatin1(const char* bytes, size_t maxLen);
wxString FromLatin1(const std::string& bytes);

// A character outside Latin-1 becomes '?'; it never corrupts a record.
std::string ToLatin1(const wxString& text);

// Copies `text` into a fixed field of `fieldSize` bytes, cut to
// fieldSize - 1 bytes and always terminated; the rest of the field is
// zeroed. With `terminate` false the whole field may be filled (for the
// few fields that are stored without a terminator).
void CopyField(char* field, size_t fieldSize, const wxString& text, bool terminate = true);
void CopyField(char* field, size_t fieldSize, const char* text, bool terminate = true);

}  // namespace pelk
