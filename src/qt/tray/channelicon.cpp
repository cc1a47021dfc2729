#include "tray/channelicon.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace tarvik {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);

class ChannelIconEngine : public QIconEngine {
 public:
  explicit ChannelIconEngine(QString label) : label_(std::move(label)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF r(rect);
    const qreal barHeight = std::max<qreal>(2.0, r.height() * 0.2);
    const QRectF face(r.left(), r.top(), r.width(), r.height() - barHeight);
    const QRectF bar(r.left(), face.bottom(), r.width(), barHeight);
    painter->fillRect(face, mode == QIcon::Disabled ? QColor(96, 96, 128) : kNavy);
    painter->fillRect(bar, kYellow);

    // The largest bold font whose text fits the navy face with a margin.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    const qreal margin = std::max<qreal>(0.5, r.width() * 0.04);
    qreal size = face.height() * 0.9;
    for (; size > 4; size -= 0.5) {
      font.setPixelSize(static_cast<int>(size));
      const QFontMetricsF fm(font);
      if (fm.horizontalAdvance(label_) <= r.width() - 2 * margin && fm.capHeight() <= face.height() * 0.72)
        break;
    }
    painter->setFont(font);
    painter->setPen(Qt::white);
    // Centre the capitals, not the line box, so the text sits in the middle.
    const QFontMetricsF fm(font);
    const qreal x = face.left() + (face.width() - fm.horizontalAdvance(label_)) / 2;
    const qreal y = face.top() + (face.height() + fm.capHeight()) / 2;
    painter->drawText(QPointF(x, y), label_);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
  }

  // size is already in device pixels; scale only labels the result.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pm = pixmap(size, mode, state);
    pm.setDevicePixelRatio(scale);
    return pm;
  }

  QIconEngine* clone() const override { return new ChannelIconEngine(label_); }
  QString key() const override { return QStringLiteral("tarvik-channel"); }

 private:
  QString label_;
};

}  // namespace

QIcon channelIcon(const QString& label) { return QIcon(new ChannelIconEngine(label)); }

}  // namespace tarvik
