#include "desktop/statusline.h"

#include <QEvent>
#include <QFontMetrics>

namespace tarvik {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

bool StatusLine::setFullText(const QString& text) {
  full_ = text;
  fit();
  return !cut_;
}

void StatusLine::fit() {
  const QFontMetrics fm(font());
  const int room = contentsRect().width();
  cut_ = fm.horizontalAdvance(full_) > room;
  setText(cut_ ? fm.elidedText(full_, Qt::ElideRight, room) : full_);
  setToolTip(cut_ ? full_ : QString());
}

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  fit();
}

void StatusLine::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) fit();
}

}  // namespace tarvik
