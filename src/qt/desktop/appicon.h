#pragma once
// The router picture: the application's icon, the main window's icon and
// the image of the program's tray icon TSOHO.

#include <QIcon>

namespace tarvik {

QIcon routerIcon();

}  // namespace tarvik
