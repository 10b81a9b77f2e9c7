#pragma once
#include <string>

namespace tov {

// A control's or form's font. Size is in points; charset is the character
// set number that tells the system which code page the font's glyphs follow.
struct Font {
  std::string Name = "MS Sans Serif";
  float Size = 8.0f;
  int Charset = 0;
  bool Bold = false;
  bool Italic = false;

  bool operator==(const Font& o) const {
    return Name == o.Name && Size == o.Size && Charset == o.Charset && Bold == o.Bold && Italic == o.Italic;
  }
  bool operator!=(const Font& o) const { return !(*this == o); }
};

} // namespace tov
