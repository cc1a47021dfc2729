#include "qt/desktop/elidedlabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace tarvik {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

bool ElidedLabel::setFullText(const QString& text) {
  full_ = text;
  fit();
  return !cut_;
}

void ElidedLabel::fit() {
  const QFontMetrics fm(font());
  const int room = contentsRect().width();
  cut_ = fm.horizontalAdvance(full_) > room;
  setText(cut_ ? fm.elidedText(full_, Qt::ElideRight, room) : full_);
  setToolTip(cut_ ? full_ : QString());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  fit();
}

void ElidedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) fit();
}

}  // namespace tarvik
