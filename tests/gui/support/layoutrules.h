#pragma once
// Rules a window's layout keeps whatever the font and the exact pixels:
// every control lies inside its window and shows its caption whole, and
// what controls draw does not overlap. Each check reports through gtest and
// names the control it found at fault.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <string>
#include <vector>

namespace tarvik::test {

inline std::string nameOf(const QWidget* w) {
  const QString text = w->property("text").toString();
  return (w->objectName().isEmpty() ? std::string(w->metaObject()->className()) : w->objectName().toStdString()) +
         (text.isEmpty() ? std::string() : " \"" + text.toStdString() + "\"");
}

// The widget's rectangle in the coordinates of `top`, one of its ancestors.
inline QRect rectIn(const QWidget* w, const QWidget* top) {
  return QRect(w->mapTo(top, QPoint(0, 0)), w->size());
}

// Nothing of the widget is cut off by any of its ancestors up to `top`.
inline void expectInside(const QWidget* w, const QWidget* top) {
  for (const QWidget* parent = w->parentWidget(); parent; parent = parent->parentWidget()) {
    EXPECT_TRUE(parent->rect().contains(rectIn(w, parent)))
        << nameOf(w) << " at " << rectIn(w, parent).x() << "," << rectIn(w, parent).y() << " "
        << w->width() << "x" << w->height() << " is cut by " << nameOf(parent) << " of " << parent->width()
        << "x" << parent->height();
    if (parent == top) break;
  }
}

inline QRect drawnRectIn(const QWidget* w, const QWidget* top);

// The width a caption needs and the width its control gives it.
inline int captionWidth(const QWidget* w) {
  QString text = w->property("text").toString();
  text.remove(QLatin1Char('&'));
  return text.isEmpty() ? 0 : w->fontMetrics().horizontalAdvance(text);
}

inline int roomForCaption(const QWidget* w) {
  if (auto* button = qobject_cast<const QPushButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
  }
  if (auto* box = qobject_cast<const QCheckBox*>(w)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
  }
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    if (label->wordWrap()) return label->contentsRect().width() * 64;  // wraps onto more lines
    return label->contentsRect().width();
  }
  return w->contentsRect().width();
}

// The caption of a label, button or check box shows whole, on one line.
inline void expectCaptionFits(const QWidget* w) {
  EXPECT_LE(captionWidth(w), roomForCaption(w))
      << nameOf(w) << ": the caption needs " << captionWidth(w) << " pixels, the control gives "
      << roomForCaption(w);
  // A label's text or picture is not cut at its top or bottom either.
  const QRect drawn = drawnRectIn(w, w);
  if (qobject_cast<const QLabel*>(w) && !drawn.isEmpty()) {
    EXPECT_TRUE(drawn.top() >= 0 && drawn.bottom() < w->height())
        << nameOf(w) << ": drawn from " << drawn.top() << " to " << drawn.bottom() << " in a label "
        << w->height() << " high";
  }
}

// Where a control draws, in the coordinates of `top`: a label only its
// picture or the ink of its text, a check box its tick box and the ink of
// its caption; any other control its whole rectangle.
inline QRect drawnRectIn(const QWidget* w, const QWidget* top) {
  const QRect whole = rectIn(w, top);
  if (auto* box = qobject_cast<const QCheckBox*>(w)) {
    // The tick box and the ink of the caption, centred in the box's height.
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect tick = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    const QFontMetrics fm = box->fontMetrics();
    const int lineTop = contents.top() + (contents.height() - fm.height()) / 2;
    const QRect ink = fm.tightBoundingRect(box->text()).translated(contents.left(), lineTop + fm.ascent());
    return (tick | ink).translated(whole.topLeft());
  }
  auto* label = qobject_cast<const QLabel*>(w);
  if (!label || label->wordWrap()) return whole;
  const QPoint origin = whole.topLeft() - label->rect().topLeft();
  const QPixmap picture = label->pixmap();
  if (!picture.isNull()) {
    const QSize size = picture.deviceIndependentSize().toSize();
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), size, label->contentsRect())
        .translated(origin);
  }
  if (label->text().isEmpty()) return QRect();
  const QFontMetrics fm = label->fontMetrics();
  const QRect line = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                         QSize(fm.horizontalAdvance(label->text()), fm.height()),
                                         label->contentsRect());
  return fm.tightBoundingRect(label->text()).translated(line.left(), line.top() + fm.ascent()).translated(origin);
}

// The visible children of `top` with a caption or an input: labels,
// buttons, check boxes and line edits (those inside combo boxes excluded).
inline std::vector<QWidget*> controlsOf(QWidget* top) {
  std::vector<QWidget*> out;
  for (QWidget* w : top->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(top)) continue;
    const bool control = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                         (qobject_cast<QLineEdit*>(w) && !w->parentWidget()->inherits("QComboBox"));
    if (control) out.push_back(w);
  }
  return out;
}

// Every visible control of `top` lies inside it, shows its caption whole,
// and overlaps no other visible control.
inline void expectTidyLayout(QWidget* top) {
  const std::vector<QWidget*> controls = controlsOf(top);
  EXPECT_FALSE(controls.empty()) << nameOf(top);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    expectInside(controls[i], top);
    expectCaptionFits(controls[i]);
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i])) continue;
      EXPECT_FALSE(drawnRectIn(controls[i], top).intersects(drawnRectIn(controls[j], top)))
          << nameOf(controls[i]) << " overlaps " << nameOf(controls[j]);
    }
  }
}

}  // namespace tarvik::test
