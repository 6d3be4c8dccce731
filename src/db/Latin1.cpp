#include "db/Latin1.h"

#include <cstring>

namespace pelk {

wxString FromLatin1(const char* bytes, size_t maxLen) {
  if (!bytes) return wxString();
  size_t n = 0;
  while (n < maxLen && bytes[n] != '\0') ++n;
  // Every byte is a Latin-1 character, so build the string directly.
  wxString out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) out += (wchar_t)(unsigned char)bytes[i];
  return out;
}

wxString FromLatin1(const std::string& bytes) { return FromLatin1(bytes.data(), bytes.size()); }

std::string ToLatin1(const wxString& text) {
  std::string out;
  out.reserve(text.length());
  for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
    wxUniChar c = *it;
    unsigned long v = c.GetValue();
    out += v <= 0xFF ? (char)(unsigned char)v : '?';
  }
  return out;
}

void CopyField(char* field, size_t fieldSize, const char* text, bool terminate) {
  if (!field || fieldSize == 0) return;
  size_t room = terminate ? fieldSize - 1 : fieldSize;
  const size_t n = text ? strnlen(text, room) : 0;
  memcpy(field, text ? text : "", n);
  memset(field + n, 0, fieldSize - n);
}

void CopyField(char* field, size_t fieldSize, const wxString& text, bool terminate) {
  std::string bytes = ToLatin1(text);
  // An embedded NUL ends the text, as it would in the field.
  CopyField(field, fieldSize, bytes.c_str(), terminate);
}

}  // namespace pelk
