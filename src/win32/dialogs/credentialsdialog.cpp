// TForm7: the user ID and password for one call. It opens without blocking
// the caller; the answer goes to the engine as exactly one of
// CredentialsEntered and CredentialsCancelled.
#include <optional>
#include <stdexcept>

#include "engine/base/sjis.h"
#include "engine/core/enginecommands.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"

namespace tarvik::win32 {

struct CredentialsDialog::Impl {
  EngineCommands& core;
  HWND dlg = nullptr;
  std::optional<ModalScope> modal;

  explicit Impl(EngineCommands& c) : core(c) {}

  void finish(bool ok) {
    if (!IsWindowVisible(dlg)) return;
    const std::string id = controlTextSjis(GetDlgItem(dlg, IDC_UserId));
    const std::string password = controlTextSjis(GetDlgItem(dlg, IDC_Password));
    modal.reset();
    ShowWindow(dlg, SW_HIDE);
    SetDlgItemTextW(dlg, IDC_Password, L"");  // the password is kept nowhere
    if (ok) {
      core.CredentialsEntered(id, password);
    } else {
      core.CredentialsCancelled();
    }
  }

  static INT_PTR CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1));
      SendDlgItemMessageW(window, IDC_Password, EM_SETPASSWORDCHAR, L'*', 0);
      return FALSE;
    }
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) self->finish(LOWORD(wp) == IDOK);
        return TRUE;
      case WM_CLOSE:
        self->finish(false);
        return TRUE;
      case WM_DESTROY:
        RemovePropW(window, kDialogProperty);
        return FALSE;
    }
    return FALSE;
  }
};

CredentialsDialog::CredentialsDialog(EngineCommands& core, HWND owner) : impl_(std::make_unique<Impl>(core)) {
  impl_->dlg =
      createDialogFromResource(IDD_CREDENTIALS, owner, Impl::proc, reinterpret_cast<LPARAM>(impl_.get()));
  if (!impl_->dlg) throw std::runtime_error("the ID and password dialog's resource is missing");
}

CredentialsDialog::~CredentialsDialog() {
  impl_->modal.reset();
  if (impl_->dlg) DestroyWindow(impl_->dlg);
}

void CredentialsDialog::ask(const std::string& sjisLastUserId) {
  HWND dlg = impl_->dlg;
  if (!IsWindowVisible(dlg)) {
    SetDlgItemTextW(dlg, IDC_UserId, L"");
    SetDlgItemTextW(dlg, IDC_Password, L"");
    setControlTextSjis(GetDlgItem(dlg, IDC_UserId), sjisLastUserId);
    centreOnScreen(dlg);
    impl_->modal.emplace(dlg);
    ShowWindow(dlg, SW_SHOW);
  }
  SetForegroundWindow(dlg);
  HWND id = GetDlgItem(dlg, IDC_UserId);
  SetFocus(id);
  SendMessageW(id, EM_SETSEL, 0, -1);
}

HWND CredentialsDialog::hwnd() const { return impl_->dlg; }
bool CredentialsDialog::isVisible() const { return IsWindowVisible(impl_->dlg) != FALSE; }

}  // namespace tarvik::win32
