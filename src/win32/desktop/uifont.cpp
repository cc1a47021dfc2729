#include "win32/desktop/uifont.h"

#include <array>
#include <cwctype>
#include <vector>

#include "win32/desktop/dpi.h"

namespace tarvik::win32 {
namespace {

constexpr std::array<const wchar_t*, 3> kPreferred = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"};

struct Families {
  std::vector<std::wstring> names;
};

int CALLBACK collect(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* families = reinterpret_cast<Families*>(data);
  // "@" families are the vertical-writing variants.
  if (font->lfFaceName[0] != L'@') families->names.emplace_back(font->lfFaceName);
  return 1;
}

std::vector<std::wstring> familiesWithCharset(BYTE charset, const wchar_t* face) {
  Families families;
  LOGFONTW query{};
  query.lfCharSet = charset;
  if (face) ::lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &query, collect, reinterpret_cast<LPARAM>(&families), 0);
  ::ReleaseDC(nullptr, screen);
  return families.names;
}

bool contains(const std::wstring& name, const wchar_t* word) {
  std::wstring lower;
  for (wchar_t c : name) lower.push_back(static_cast<wchar_t>(std::towlower(c)));
  return lower.find(word) != std::wstring::npos;
}

}  // namespace

std::wstring uiFontFamily() {
  for (const wchar_t* name : kPreferred) {
    if (!familiesWithCharset(DEFAULT_CHARSET, name).empty()) return name;
  }
  // Any family that holds the Japanese code page; a Gothic (sans-serif) one
  // before the others, and a proportional UI font before a monospaced one.
  const std::vector<std::wstring> japanese = familiesWithCharset(SHIFTJIS_CHARSET, nullptr);
  for (const wchar_t* word : {L"ui gothic", L"sans cjk jp", L"sans jp", L"gothic", L"sans"}) {
    for (const std::wstring& name : japanese) {
      if (contains(name, word) && !contains(name, L"mono")) return name;
    }
  }
  if (!japanese.empty()) return japanese.front();
  return L"MS Shell Dlg 2";
}

Font::Font(int pixelHeight, UINT dpi, bool bold, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -scaled(pixelHeight, dpi);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring family = uiFontFamily();
  ::lstrcpynW(lf.lfFaceName, family.c_str(), LF_FACESIZE);
  font_ = ::CreateFontIndirectW(&lf);
}

Font::~Font() {
  if (font_) ::DeleteObject(font_);
}

Font& Font::operator=(Font&& other) noexcept {
  if (this != &other) {
    if (font_) ::DeleteObject(font_);
    font_ = other.font_;
    other.font_ = nullptr;
  }
  return *this;
}

}  // namespace tarvik::win32
