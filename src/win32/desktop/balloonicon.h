#pragma once
// The icon of the balloon each notice shows from the program's tray icon:
// the warning sign for a failure the user has to see to (the router cannot
// be reached or refuses the login, the call journal cannot be written), the
// information sign for the rest.

#include <windows.h>

#include "engine/ports/notice.h"

namespace tarvik::win32 {

DWORD balloonIconOf(NoticeKind kind);

}  // namespace tarvik::win32
