// An owned copy of an XPM image whose palette entries can be recoloured
// (to the desktop's button colours, say) before a bitmap is built from it.
#pragma once

#include <string>
#include <vector>

class XpmSrc {
 public:
  XpmSrc() = default;
  explicit XpmSrc(const char* const* lines) { SetXpm(lines); }

  // Copies an image; returns the number of lines copied (0 when the image
  // cannot be read or memory runs out, the copy then stays empty).
  int SetXpm(const char* const* lines);
  // Sets the colour of the first palette entry whose line starts with `key`.
  void SetRGB(const char* key, int red, int green, int blue);
  void Clean();

  // The copied lines, for the toolkit's bitmap-from-XPM constructor.
  const char* const* Lines() const { return m_ptrs.empty() ? nullptr : m_ptrs.data(); }
  int Colors() const { return m_colors; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  int m_colors = 0;
  int m_height = 0;
  int m_width = 0;
  std::vector<std::string> m_lines;
  std::vector<const char*> m_ptrs;
};
