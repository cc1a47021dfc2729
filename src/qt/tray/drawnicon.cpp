#include "qt/tray/drawnicon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <utility>

namespace tarvik {
namespace {

class DrawnIconEngine : public QIconEngine {
 public:
  explicit DrawnIconEngine(IconPainter paint) : paint_(std::move(paint)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    paint_(*painter, centredSquare(QRectF(rect)), mode);
    painter->restore();
  }

  // Asked for a slot of any shape, the icon takes the square inside it.
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return QSize(side, side);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return drawn(size, mode, state, 1.0);
  }

  // size is already in device pixels; the picture is drawn at that size and
  // only labelled with the scale.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return drawn(size, mode, state, scale);
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
  }

  QIconEngine* clone() const override { return new DrawnIconEngine(paint_); }
  QString key() const override { return QStringLiteral("tarvik-drawn"); }

 private:
  QPixmap drawn(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paint(&p, QRect(QPoint(0, 0), size), mode, state);
    }
    pm.setDevicePixelRatio(scale);
    return pm;
  }

  IconPainter paint_;
};

}  // namespace

QIcon drawnIcon(IconPainter paint) { return QIcon(new DrawnIconEngine(std::move(paint))); }

QRectF centredSquare(const QRectF& rect) {
  const qreal side = std::min(rect.width(), rect.height());
  return QRectF(rect.left() + (rect.width() - side) / 2, rect.top() + (rect.height() - side) / 2, side, side);
}

}  // namespace tarvik
