// TForm8, "Tarvik - セットアップ": the router's address when the settings
// hold none. OK gives the field's text exactly as typed; the close box
// gives nothing.
#include <stdexcept>

#include "engine/base/sjis.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsstore.h"

namespace tarvik::win32 {

struct FirstRunDialog::Impl {
  HWND dlg = nullptr;
  std::function<void(std::optional<std::string>)> done;

  void finish(std::optional<std::string> address) {
    HWND window = dlg;
    dlg = nullptr;
    auto answer = std::move(done);
    DestroyWindow(window);
    if (answer) answer(std::move(address));
  }

  static INT_PTR CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1));
      SetDlgItemTextW(window, IDC_FirstRunEdit1, L"192.168.0.1");
      return TRUE;
    }
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->dlg) return FALSE;
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
          self->finish(controlText(GetDlgItem(window, IDC_FirstRunEdit1)));
        } else if (LOWORD(wp) == IDCANCEL) {
          self->finish(std::nullopt);  // Escape, as the close box
        }
        return TRUE;
      case WM_CLOSE:
        self->finish(std::nullopt);
        return TRUE;
      case WM_DESTROY:
        RemovePropW(window, kDialogProperty);
        return FALSE;
    }
    return FALSE;
  }
};

FirstRunDialog::FirstRunDialog(HWND owner, std::function<void(std::optional<std::string>)> done)
    : impl_(std::make_unique<Impl>()) {
  impl_->done = std::move(done);
  impl_->dlg =
      createDialogFromResource(IDD_FIRSTRUN, owner, Impl::proc, reinterpret_cast<LPARAM>(impl_.get()));
  if (!impl_->dlg) throw std::runtime_error("the first-run dialog's resource is missing");
  centreOnScreen(impl_->dlg);
  ShowWindow(impl_->dlg, SW_SHOW);
  SetForegroundWindow(impl_->dlg);
  HWND field = GetDlgItem(impl_->dlg, IDC_FirstRunEdit1);
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);
}

FirstRunDialog::~FirstRunDialog() {
  if (impl_->dlg) {
    impl_->done = nullptr;
    DestroyWindow(impl_->dlg);
  }
}

HWND FirstRunDialog::hwnd() const { return impl_->dlg; }

std::optional<std::string> askRouterAddress(HWND owner) {
  std::optional<std::string> result;
  bool finished = false;
  FirstRunDialog dialog(owner, [&](std::optional<std::string> address) {
    result = std::move(address);
    finished = true;
  });
  // Modal: the start-up load waits here, the rest of the program's windows
  // take no input meanwhile.
  ModalScope modal(dialog.hwnd());
  MSG msg;
  while (!finished && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dispatchDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (!finished) PostQuitMessage(static_cast<int>(msg.wParam));  // WM_QUIT belongs to the outer loop
  return result;
}

std::string askRouterAddressAndKeep(SettingsStore& store, const SettingsFiles& files, HWND owner) {
  const std::optional<std::string> address = askRouterAddress(owner);
  if (!address) return {};
  store.tarvik.SOHOIP = toSjis(*address);
  return files.saveRouterAddress(store);
}

}  // namespace tarvik::win32
