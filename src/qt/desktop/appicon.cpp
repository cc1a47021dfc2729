#include "qt/desktop/appicon.h"

#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "qt/tray/drawnicon.h"

// The resource file is compiled into a static library: register it here,
// where it is used, so the linker keeps it.
static void initTarvikResources() { Q_INIT_RESOURCE(tarvik); }

namespace tarvik {

QIcon routerIcon() {
  initTarvikResources();
  // Drawn from the vector picture at whatever size and density it shows,
  // so the tray icon and the title bar are never a scaled bitmap.
  auto renderer = std::make_shared<QSvgRenderer>(QStringLiteral(":/tarvik/tarvik.svg"));
  if (!renderer->isValid()) return QIcon();
  return drawnIcon([renderer](QPainter& painter, const QRectF& square, QIcon::Mode) {
    renderer->render(&painter, square);
  });
}

}  // namespace tarvik
