#include "win32/dialogs/dialogsupport.h"

#include <algorithm>
#include <cstring>

#include "engine/base/sjis.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

struct FaceSearch {
  std::vector<std::wstring> found;
};

int CALLBACK collectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* search = reinterpret_cast<FaceSearch*>(param);
  const std::wstring face = lf->lfFaceName;
  if (face.empty() || face[0] == L'@') return 1;  // the vertical variants
  search->found.push_back(face);
  return 1;
}

bool faceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  FaceSearch search;
  EnumFontFamiliesExW(dc, &lf, collectFace, reinterpret_cast<LPARAM>(&search), 0);
  return !search.found.empty();
}

// Among the faces with Japanese, a sans-serif one for Japan (the Noto
// "Sans CJK JP" under Wine); a fixed-pitch one when asked. The pitch is
// told by the name: OpenType collections all report a variable pitch.
std::wstring anyJapaneseFace(HDC dc, bool fixedPitch) {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  FaceSearch search;
  EnumFontFamiliesExW(dc, &lf, collectFace, reinterpret_cast<LPARAM>(&search), 0);
  auto has = [](const std::wstring& f, const wchar_t* part) { return f.find(part) != std::wstring::npos; };
  auto score = [&](const std::wstring& f) {
    int s = 0;
    if (has(f, L"Mono") == fixedPitch) s += 8;
    if (has(f, L"JP")) s += 4;
    if (has(f, L"Sans") || has(f, L"Gothic")) s += 2;
    return s;
  };
  std::stable_sort(search.found.begin(), search.found.end(),
                   [&](const std::wstring& a, const std::wstring& b) { return score(a) > score(b); });
  return search.found.empty() ? std::wstring() : search.found.front();
}

std::wstring chooseFace(std::initializer_list<const wchar_t*> preferred, bool fixedPitch,
                        const wchar_t* lastResort) {
  HDC dc = GetDC(nullptr);
  std::wstring face;
  for (const wchar_t* f : preferred) {
    if (faceInstalled(dc, f)) {
      face = f;
      break;
    }
  }
  if (face.empty()) face = anyJapaneseFace(dc, fixedPitch);
  ReleaseDC(nullptr, dc);
  return face.empty() ? std::wstring(lastResort) : face;
}

// DLGTEMPLATEEX: the header's variable parts are a menu and a class (each
// empty, an ordinal or a string) and the title, then the font's size,
// weight, italic and charset and its face; the items start on the next
// DWORD boundary.
const WORD* skipSzOrOrd(const WORD* p) {
  if (*p == 0x0000) return p + 1;
  if (*p == 0xFFFF) return p + 2;
  while (*p) ++p;
  return p + 1;
}

std::vector<BYTE> withFace(const BYTE* tmpl, DWORD size, const std::wstring& face) {
  const auto* words = reinterpret_cast<const WORD*>(tmpl);
  if (words[0] != 1 || words[1] != 0xFFFF) return {tmpl, tmpl + size};  // not a DIALOGEX
  const DWORD style = *reinterpret_cast<const DWORD*>(tmpl + 12);
  if (!(style & DS_SETFONT)) return {tmpl, tmpl + size};
  const WORD* p = reinterpret_cast<const WORD*>(tmpl + 26);  // after cx, cy
  p = skipSzOrOrd(p);                                        // menu
  p = skipSzOrOrd(p);                                        // class
  while (*p) ++p;                                            // title
  ++p;
  p += 3;  // point size, weight, italic + charset
  const auto faceOffset = reinterpret_cast<const BYTE*>(p) - tmpl;
  while (*p) ++p;
  ++p;
  auto align = [](std::size_t n) { return (n + 3) & ~std::size_t{3}; };
  const std::size_t itemsOffset = align(reinterpret_cast<const BYTE*>(p) - tmpl);

  std::vector<BYTE> out(tmpl, tmpl + faceOffset);
  const auto* faceBytes = reinterpret_cast<const BYTE*>(face.c_str());
  out.insert(out.end(), faceBytes, faceBytes + (face.size() + 1) * sizeof(wchar_t));
  out.resize(align(out.size()), 0);
  if (itemsOffset < size) out.insert(out.end(), tmpl + itemsOffset, tmpl + size);
  return out;
}

}  // namespace

const std::wstring& japaneseUiFace() {
  static const std::wstring face =
      chooseFace({L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"}, false, L"MS Shell Dlg");
  return face;
}

const std::wstring& japaneseFixedFace() {
  static const std::wstring face = chooseFace({L"MS Gothic"}, true, L"Courier New");
  return face;
}

int windowDpi(HWND window) {
  // GetDpiForWindow came with Windows 10; before it, one scale for all.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi;
}

HFONT createFont(HWND forWindow, const std::wstring& face, int pointSize) {
  const int dpi = windowDpi(forWindow);
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(pointSize, dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

HWND createDialogFromResource(int id, HWND parent, DLGPROC proc, LPARAM param) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* tmpl = static_cast<const BYTE*>(LockResource(loaded));
  if (!tmpl) return nullptr;
  std::vector<BYTE> patched = withFace(tmpl, SizeofResource(module, found), japaneseUiFace());
  return CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(patched.data()), parent, proc,
                                    param);
}

std::string controlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return narrow(text);
}

void setControlText(HWND control, const std::string& utf8) { SetWindowTextW(control, widen(utf8).c_str()); }

std::string controlTextSjis(HWND control) { return toSjis(controlText(control)); }

void setControlTextSjis(HWND control, const std::string& sjis) { setControlText(control, toUtf8(sjis)); }

void centreOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT& area = info.rcWork;
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct DisableSearch {
  HWND modal;
  std::vector<HWND>* disabled;
};

BOOL CALLBACK disableOne(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DisableSearch*>(param);
  if (window != search->modal && IsWindowEnabled(window) && IsWindowVisible(window)) {
    EnableWindow(window, FALSE);
    search->disabled->push_back(window);
  }
  return TRUE;
}

}  // namespace

ModalScope::ModalScope(HWND modal) {
  DisableSearch search{modal, &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&search));
}

ModalScope::~ModalScope() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

}  // namespace tarvik::win32
