#include "win32/desktop/channelicon.h"

#include <algorithm>
#include <vector>

namespace tarvik::win32 {
namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// The largest bold font whose label fits the face with a margin.
HFONT fittingFont(HDC dc, const std::wstring& label, int width, int faceHeight) {
  const int margin = std::max(1, width / 16);
  for (int size = faceHeight; size > 4; --size) {
    HFONT font = ::CreateFontW(-size, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &extent);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    // Capitals are about the ascent less the internal leading high.
    const int capitals = tm.tmAscent - tm.tmInternalLeading;
    if (extent.cx <= width - 2 * margin && capitals <= faceHeight * 3 / 4) return font;
    ::DeleteObject(font);
  }
  return nullptr;
}

}  // namespace

HICON drawChannelIcon(const std::wstring& label, int side) {
  side = std::max(side, 8);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = side;
  info.bmiHeader.biHeight = -side;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP colour = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  if (!colour || !dc) {
    if (colour) ::DeleteObject(colour);
    if (dc) ::DeleteDC(dc);
    return nullptr;
  }
  HGDIOBJ oldBitmap = ::SelectObject(dc, colour);

  const int barHeight = std::max(2, side / 5);
  const int faceHeight = side - barHeight;
  RECT face{0, 0, side, faceHeight};
  RECT bar{0, faceHeight, side, side};
  HBRUSH navy = ::CreateSolidBrush(kNavy);
  HBRUSH yellow = ::CreateSolidBrush(kYellow);
  ::FillRect(dc, &face, navy);
  ::FillRect(dc, &bar, yellow);
  ::DeleteObject(navy);
  ::DeleteObject(yellow);

  if (HFONT font = fittingFont(dc, label, side, faceHeight)) {
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &extent);
    // Centre the capitals, not the line box.
    const int capitals = tm.tmAscent - tm.tmInternalLeading;
    const int x = (side - extent.cx) / 2;
    const int baseline = (faceHeight + capitals) / 2;
    ::TextOutW(dc, x, baseline - tm.tmAscent, label.c_str(), static_cast<int>(label.size()));
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
  }
  ::GdiFlush();
  // GDI leaves the alpha byte at zero: the whole square is opaque.
  auto* pixel = static_cast<DWORD*>(bits);
  for (int i = 0; i < side * side; ++i) pixel[i] |= 0xFF000000u;
  ::SelectObject(dc, oldBitmap);
  ::DeleteDC(dc);

  // An all-zero mask: every pixel shows the colour image.
  const std::vector<BYTE> zeros(static_cast<std::size_t>((side + 15) / 16 * 2 * side), 0);
  HBITMAP mask = ::CreateBitmap(side, side, 1, 1, zeros.data());
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = colour;
  icon.hbmMask = mask;
  HICON result = ::CreateIconIndirect(&icon);
  ::DeleteObject(mask);
  ::DeleteObject(colour);
  return result;
}

}  // namespace tarvik::win32
