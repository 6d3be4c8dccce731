#include "app/xpmsrc.h"

#include <cstdio>
#include <cstring>
#include <new>

int XpmSrc::SetXpm(const char* const* lines) {
  Clean();
  if (!lines || !lines[0]) return 0;
  int width = 0, height = 0, colors = 0, cpp = 0;
  if (sscanf(lines[0], "%d %d %d %d", &width, &height, &colors, &cpp) != 4 || width <= 0 || height <= 0 ||
      colors <= 0 || cpp <= 0 || colors > 0xffff || height > 0xffff)
    return 0;
  const int count = 1 + colors + height;
  try {
    m_lines.reserve((size_t)count);
    for (int i = 0; i < count; ++i) {
      if (!lines[i]) {  // fewer lines than the header promises
        Clean();
        return 0;
      }
      m_lines.emplace_back(lines[i]);
    }
    m_ptrs.reserve((size_t)count);
    for (const std::string& l : m_lines) m_ptrs.push_back(l.c_str());
  } catch (const std::bad_alloc&) {
    Clean();
    return 0;
  }
  m_width = width;
  m_height = height;
  m_colors = colors;
  return count;
}

void XpmSrc::SetRGB(const char* key, int red, int green, int blue) {
  if (!key) return;
  char hex[8];
  snprintf(hex, sizeof hex, "%02x%02x%02x", red & 0xff, green & 0xff, blue & 0xff);
  const size_t keyLen = strlen(key);
  for (int i = 1; i <= m_colors && i < (int)m_lines.size(); ++i) {
    std::string& line = m_lines[(size_t)i];
    if (line.compare(0, keyLen, key) != 0) continue;
    // "<key> c #rrggbb": the digits start four characters after the key.
    const size_t at = keyLen + 4;
    if (line.size() >= at + 6) {
      line.replace(at, 6, hex);
      m_ptrs[(size_t)i] = line.c_str();
    }
    return;
  }
}

void XpmSrc::Clean() {
  m_lines.clear();
  m_ptrs.clear();
  m_colors = m_height = m_width = 0;
}
