#pragma once
// A one-line label of the main window whose width the window fixes: the
// status line Label4, the destination label Label1 and the caller name
// display. A text wider than the label is cut with an ellipsis, never
// silently mid-character, and the whole text becomes the label's tooltip.

#include <QLabel>

namespace tarvik {

class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr);

  // Shows the text, cut to the label's width when it is wider; true when
  // the whole text shows.
  bool setFullText(const QString& text);
  QString fullText() const { return full_; }
  bool isCut() const { return cut_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fit();

  QString full_;
  bool cut_ = false;
};

}  // namespace tarvik
