#include "qt/tray/channelicon.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "qt/tray/drawnicon.h"

namespace tarvik {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);

void paintChannel(QPainter& painter, const QRectF& r, QIcon::Mode mode, const QString& label) {
  const qreal barHeight = std::max<qreal>(2.0, r.height() * 0.2);
  const QRectF face(r.left(), r.top(), r.width(), r.height() - barHeight);
  const QRectF bar(r.left(), face.bottom(), r.width(), barHeight);
  painter.fillRect(face, mode == QIcon::Disabled ? QColor(96, 96, 128) : kNavy);
  painter.fillRect(bar, kYellow);

  // The largest bold font whose text fits the navy face with a margin.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  const qreal margin = std::max<qreal>(0.5, r.width() * 0.04);
  for (qreal size = face.height() * 0.9; size > 4; size -= 0.5) {
    font.setPixelSize(static_cast<int>(size));
    const QFontMetricsF fm(font);
    if (fm.horizontalAdvance(label) <= r.width() - 2 * margin && fm.capHeight() <= face.height() * 0.72) break;
  }
  painter.setFont(font);
  painter.setPen(Qt::white);
  // Centre the capitals, not the line box, so the text sits in the middle.
  const QFontMetricsF fm(font);
  const qreal x = face.left() + (face.width() - fm.horizontalAdvance(label)) / 2;
  const qreal y = face.top() + (face.height() + fm.capHeight()) / 2;
  painter.drawText(QPointF(x, y), label);
}

}  // namespace

QIcon channelIcon(const QString& label) {
  return drawnIcon([label](QPainter& painter, const QRectF& square, QIcon::Mode mode) {
    paintChannel(painter, square, mode, label);
  });
}

}  // namespace tarvik
