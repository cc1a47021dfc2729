// TForm4, "Tarvik - About": the picture, the program's version and the
// banner of the router it talks to. The picture is read each time the box
// is shown; when it cannot be read the box opens without it.
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"

namespace tarvik::win32 {
namespace {

// The picture's place at 96 dots per inch.
constexpr int kPictureWidth = 271;
constexpr int kPictureHeight = 57;

}  // namespace

struct AboutBox::Impl {
  HWND dlg = nullptr;
  std::filesystem::path picture;
  HBITMAP bitmap = nullptr;
  std::optional<ModalScope> modal;

  void releaseBitmap() {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
  }

  void close() {
    modal.reset();
    ShowWindow(dlg, SW_HIDE);
    releaseBitmap();
  }

  // Drawn with its top-left corner at the place's, at the screen's scale,
  // never beyond the place.
  void draw(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap) return;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const int dpi = windowDpi(item.hwndItem);
    const int w = std::min<int>(info.bmWidth, kPictureWidth),
              h = std::min<int>(info.bmHeight, kPictureHeight);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, bitmap);
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, MulDiv(w, dpi, 96), MulDiv(h, dpi, 96), source, 0,
               0, w, h, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }

  static INT_PTR CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1));
      return FALSE;
    }
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) self->close();
        return TRUE;
      case WM_DRAWITEM:
        if (wp == IDC_Image1) self->draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      case WM_CTLCOLORSTATIC:
        // The texts are black, whatever the theme.
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 0));
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      case WM_DESTROY:
        RemovePropW(window, kDialogProperty);
        return FALSE;
    }
    return FALSE;
  }
};

AboutBox::AboutBox(HWND owner, std::filesystem::path picture) : impl_(std::make_unique<Impl>()) {
  impl_->picture = std::move(picture);
  impl_->dlg = createDialogFromResource(IDD_ABOUT, owner, Impl::proc, reinterpret_cast<LPARAM>(impl_.get()));
  if (!impl_->dlg) throw std::runtime_error("the about box's resource is missing");
}

AboutBox::~AboutBox() {
  impl_->modal.reset();
  impl_->releaseBitmap();
  if (impl_->dlg) DestroyWindow(impl_->dlg);
}

void AboutBox::setRouterVersion(const std::string& utf8Banner) {
  setControlText(GetDlgItem(impl_->dlg, IDC_Version), utf8Banner);
}

std::string AboutBox::routerVersion() const { return controlText(GetDlgItem(impl_->dlg, IDC_Version)); }

void AboutBox::showModal() {
  Impl& a = *impl_;
  if (!IsWindowVisible(a.dlg)) {
    // Read afresh at every showing, so a replaced picture shows at once.
    a.releaseBitmap();
    a.bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, a.picture.wstring().c_str(), IMAGE_BITMAP, 0, 0,
                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    InvalidateRect(GetDlgItem(a.dlg, IDC_Image1), nullptr, TRUE);
    centreOnScreen(a.dlg);
    a.modal.emplace(a.dlg);
    ShowWindow(a.dlg, SW_SHOW);
  }
  SetForegroundWindow(a.dlg);
  SetFocus(GetDlgItem(a.dlg, IDOK));
}

bool AboutBox::hasPicture() const { return impl_->bitmap != nullptr; }
HWND AboutBox::hwnd() const { return impl_->dlg; }
bool AboutBox::isVisible() const { return IsWindowVisible(impl_->dlg) != FALSE; }

}  // namespace tarvik::win32
