#pragma once
// TForm5, "Tarvik - 詳細": the transcript of the router's answers to the
// user's commands, and six buttons that ask the router for its reports.
// Closing the window only hides it.

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QFrame;

namespace tarvik {

class EngineCommands;

class DetailsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DetailsWindow(EngineCommands& core, QWidget* parent = nullptr);

  void appendLine(const QString& line);
  void clearText();
  QString text() const;

  // [OPTION] left2, top2, Width2, Height2.
  void applyGeometry(int left, int top, int width, int height);
  QRect savedGeometry() const;  // left/top of the frame, size of the window

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  EngineCommands& core_;
  QPlainTextEdit* memo_;
  QFrame* bar_;
  bool empty_ = false;  // after a clear, the next line takes the first row
  int minimumWidth_ = 0;
  QRect stored_;
  bool shownOnce_ = false;
};

}  // namespace tarvik
