// Shows one dialog over a recording engine with sample settings until it is
// closed, for looking at it (screenshots under Wine):
//   dialogpreview settings <tab 0-7> | firstrun | credentials | details | about
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <filesystem>
#include <string>

#include "engine/base/sjis.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/routerpassword.h"
#include "fakes/recordingcore.h"

using namespace tarvik;
using namespace tarvik::win32;

namespace {

void loop(const std::function<bool()>& open) {
  MSG msg;
  while (open() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dispatchDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&init);
  const std::wstring what = argc > 1 ? argv[1] : L"settings";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvik-dialogpreview";
  std::filesystem::create_directories(dir);
  test::RecordingCore core(dir);
  core.store.tarvik.SOHOIP = "192.168.0.1";
  core.store.tarvik.PASS = "secret";
  core.store.sound.s1 = toSjis("wav\\接続開始.wav");
  core.store.sound.s7 = toSjis("wav\\警告.wav");
  core.store.nameList = {toSjis("0312341234:事務所"), toSjis("0451112222:自宅")};
  core.store.script = {"23:00 co 1", "7:00 dis a"};
  // The router's rows as the destination boxes get them: number, name,
  // mode, the other end's number and the per-call mark " *".
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) {
    std::string number = "#" + std::to_string(i);
    entries.push_back(number + std::string(4 - number.size(), ' ') + "プロバイダ" + std::to_string(i) +
                      (i < 10 ? "     " : "    ") + "PPP       " + "03123456" + (i < 10 ? "0" : "") +
                      std::to_string(i) + (i % 2 ? " *" : "  "));
  }
  core.store.tarvik.AUTO = 13;
  core.store.tarvik.DEFAULT = 11;
  core.store.appPageDestination = 15;

  if (what == L"settings") {
    SettingsDialog dialog(core, nullptr);
    // With the Credential Manager behind the box "キーリングに保存", as in the
    // program.
    RouterPassword password(dir);
    password.attach(dialog);
    dialog.setDestinationList(entries);
    dialog.openDialog();
    if (argc > 2) dialog.showTab(_wtoi(argv[2]));
    loop([&] { return dialog.isVisible(); });
  } else if (what == L"firstrun") {
    bool open = true;
    FirstRunDialog dialog(nullptr, [&](std::optional<std::string>) { open = false; });
    loop([&] { return open; });
  } else if (what == L"credentials") {
    CredentialsDialog dialog(core, nullptr);
    dialog.ask("user01");
    loop([&] { return dialog.isVisible(); });
  } else if (what == L"details") {
    DetailsWindow window(core, nullptr);
    window.appendLine("課金情報");
    window.appendLine("  #1 プロバイダ1      12:34  ￥1,230");
    window.appendLine("PPP情報: LCP Opened");
    for (int i = 1; i <= 14; ++i) window.appendLine("12/0" + std::to_string(i % 10) + " 10:00:00 B1 接続 0312345001");
    window.show();
    loop([&] { return window.isVisible(); });
  } else if (what == L"about") {
    AboutBox box(nullptr, argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::path("Tarvik.bmp"));
    box.setRouterVersion("MN128-SOHO.F Version 2.41");
    box.showModal();
    loop([&] { return box.isVisible(); });
  }
  return 0;
}
