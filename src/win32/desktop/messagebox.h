#pragma once
// The program's message boxes on MessageBoxW, with the program's own
// captions on the buttons ("OK", "ｷｬﾝｾﾙ") whatever language the system
// speaks. Modal: the box runs its own message loop, so socket events and
// timer ticks go on while it is open.

#include <windows.h>

#include <string>

namespace tarvik::win32 {

// text and title in UTF-8; type as for MessageBoxW. Returns the button
// chosen (IDOK, IDCANCEL).
int messageBox(HWND owner, const std::string& text, const std::string& title, UINT type);

// An error the user must see, titled "Tarvik".
void errorBox(HWND owner, const std::string& text);

// "回線を切断してもよろしいですか?", titled "確認", OK and ｷｬﾝｾﾙ: true for OK.
bool askDisconnect(HWND owner);

}  // namespace tarvik::win32
