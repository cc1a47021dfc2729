#pragma once
// The Win32 dialogs over a recording engine whose settings files live in a
// folder of the test's own; messages, file choices and sounds are recorded
// instead of shown, so that nothing waits for a user.

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/sjis.h"
#include "win32/dialogs/dialogs.h"
#include "fakes/recordingcore.h"
#include "fakes/testdir.h"
#include "win32/widetext.h"

namespace tarvik::win32::testing {

struct ShownMessage {
  MessageKind kind;
  std::string text;  // UTF-8
};

inline void initCommonControls() {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
}

// Everything waiting in the thread's queue, handled (posted notices, the
// characters of a key).
inline void drainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dispatchDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline std::string textOf(HWND control) {
  const int n = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), n + 1)));
  return narrow(text);
}

inline void setText(HWND control, const std::string& utf8) { SetWindowTextW(control, widen(utf8).c_str()); }

// What a click on a button tells its parent.
inline void click(HWND button) {
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// A key as the message loop meets it: through dispatchDialogMessage first.
inline void pressKey(HWND focus, WPARAM key) {
  SetFocus(focus);
  MSG msg{focus, WM_KEYDOWN, key, 0, 0, {}};
  if (!dispatchDialogMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // A key-up's flags: one repeat, the key was down, it is being released.
  constexpr UINT kKeyUpFlags = 0xC0000001;
  MSG up{focus, WM_KEYUP, key, static_cast<LPARAM>(kKeyUpFlags), 0, {}};
  if (!dispatchDialogMessage(up)) DispatchMessageW(&up);
  drainMessages();
}

struct DialogFixture {
  tarvik::testing::TestDir dir;
  test::RecordingCore core{dir.path()};
  std::vector<ShownMessage> messages;

  DialogFixture() { initCommonControls(); }

  MessageFunction recordMessages() {
    return [this](HWND, MessageKind kind, const std::string& text) { messages.push_back({kind, text}); };
  }

  // Tarvik.ini as UTF-8 text (empty when it does not exist).
  std::string iniText() const {
    std::ifstream in(core.files().iniPath(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return toUtf8(bytes.str());
  }
};

}  // namespace tarvik::win32::testing
