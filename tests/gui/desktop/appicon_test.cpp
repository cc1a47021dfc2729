// The router picture as an icon: drawn at each size and density asked for,
// so the tray icon is as sharp at 150 % as at 100 %.
#include "qt/desktop/appicon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tarvik {
namespace {

QImage renderedDirectly(int side) {
  QSvgRenderer svg(QStringLiteral(":/tarvik/tarvik.svg"));
  QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  svg.render(&p, QRectF(0, 0, side, side));
  return img;
}

TEST(RouterIcon, EverySizeAndDensityIsDrawnNotScaledFromAnother) {
  const QIcon icon = routerIcon();
  ASSERT_FALSE(icon.isNull());
  const struct {
    int logical;
    qreal scale;
  } cases[] = {{16, 1.0}, {22, 1.0}, {22, 1.5}, {24, 1.5}, {22, 2.0}, {33, 1.0}, {36, 1.0}};
  for (const auto& c : cases) {
    const QPixmap pm = icon.pixmap(QSize(c.logical, c.logical), c.scale);
    const int side = qRound(c.logical * c.scale);
    ASSERT_EQ(pm.size(), QSize(side, side)) << c.logical << " @" << c.scale;
    EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), c.scale);
    const QImage got = pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage want = renderedDirectly(side);
    want.setDevicePixelRatio(c.scale);
    EXPECT_EQ(got, want) << c.logical << " @" << c.scale << " is not the picture drawn at " << side;
  }
}

}  // namespace
}  // namespace tarvik
