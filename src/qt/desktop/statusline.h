#pragma once
// Label4, the main window's status line. Its width is fixed by the window;
// a text wider than the line is cut with an ellipsis, never silently, and
// the whole text becomes the line's tooltip.

#include <QLabel>

namespace tarvik {

class StatusLine : public QLabel {
  Q_OBJECT
 public:
  explicit StatusLine(QWidget* parent = nullptr);

  // Shows the text, cut to the line's width when it is wider; true when the
  // whole text shows.
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
