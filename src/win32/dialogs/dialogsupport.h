#pragma once
// What the dialogs share: creating a dialog from its resource in the
// system's Japanese UI face, control texts in UTF-8 and Shift-JIS, the
// fixed-pitch face, and modality for windows that do not block the caller.

#include <windows.h>

#include <string>
#include <vector>

namespace tarvik::win32 {

// The face the dialogs are drawn in: "Yu Gothic UI", else "Meiryo UI", else
// "MS UI Gothic", else any installed face with Japanese (under Wine the
// Noto CJK faces).
const std::wstring& japaneseUiFace();
// Fixed pitch, for the destination entries and the transcript: "MS Gothic",
// else any fixed-pitch face with Japanese.
const std::wstring& japaneseFixedFace();

// The dots per inch of the screen the window is on (per monitor where the
// system tells it, else the system's).
int windowDpi(HWND window);

// A font of face at pointSize, scaled for the window's screen. The caller
// owns it (DeleteObject).
HFONT createFont(HWND forWindow, const std::wstring& face, int pointSize);

// The dialog template id from this program's resources, created modeless
// with the UI face in place of the template's, proc getting param in
// WM_INITDIALOG.
HWND createDialogFromResource(int id, HWND parent, DLGPROC proc, LPARAM param);

std::string controlText(HWND control);  // UTF-8
void setControlText(HWND control, const std::string& utf8);
std::string controlTextSjis(HWND control);
void setControlTextSjis(HWND control, const std::string& sjis);

// Centres window on the work area of the screen it is on.
void centreOnScreen(HWND window);

// While it lives, the thread's other enabled top-level windows are disabled
// (as a modal window makes them); they come back when it ends.
class ModalScope {
 public:
  explicit ModalScope(HWND modal);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  std::vector<HWND> disabled_;
};

// Private messages of the dialogs (WM_APP + 0x400 onwards; the front end's
// own windows use the lower ones).
// Sent to a dialog's top-level window before IsDialogMessage for the Enter
// key; lParam is the MSG. Nonzero: the dialog handled it.
constexpr UINT kEnterKeyMessage = WM_APP + 0x400;

// Posted to a dialog after a change of its screen's scale: the fonts the
// program set itself are made again for the new scale.
constexpr UINT kRescaleMessage = WM_APP + 0x401;

// The property that marks the program's dialog windows for
// dispatchDialogMessage().
constexpr const wchar_t* kDialogProperty = L"TarvikDialog";

}  // namespace tarvik::win32
