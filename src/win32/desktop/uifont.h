#pragma once
// The font of the windows: the system's font for Japanese user interfaces
// (Yu Gothic UI, else Meiryo UI, else MS UI Gothic). A system with none of
// them (Wine on a Linux desktop) gets the first font family that holds
// Japanese characters, preferring a sans-serif one, so the Japanese texts
// never turn into boxes.

#include <windows.h>

#include <string>

namespace tarvik::win32 {

// The family chosen for this system (looked up once per call; cheap enough
// for the few fonts the windows make).
std::wstring uiFontFamily();

// An owned HFONT, deleted with the object.
class Font {
 public:
  Font() = default;
  // pixelHeight: the character height in pixels at 100 %; dpi scales it.
  Font(int pixelHeight, UINT dpi, bool bold = false, bool underline = false);
  ~Font();
  Font(Font&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
  Font& operator=(Font&& other) noexcept;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  HFONT handle() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

}  // namespace tarvik::win32
