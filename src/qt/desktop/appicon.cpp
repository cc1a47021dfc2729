#include "desktop/appicon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resource file is compiled into a static library: register it here,
// where it is used, so the linker keeps it.
static void initTarvikResources() { Q_INIT_RESOURCE(tarvik); }

namespace tarvik {

QIcon routerIcon() {
  initTarvikResources();
  // Rendered for each common size (and twice that for high-density
  // screens), so the icon is drawn, never scaled, wherever it shows.
  QSvgRenderer renderer(QStringLiteral(":/tarvik/tarvik.svg"));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (int size : {16, 20, 22, 24, 32, 40, 44, 48, 64, 96, 128, 256}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace tarvik
