#pragma once
// TForm4, "Tarvik - About": the program's picture, its version and the
// banner of the router it talks to. The picture is read each time the box
// is shown; when it cannot be read the box opens without it.

#include <QDialog>

#include "qt/windows/programfiles.h"

class QLabel;

namespace tarvik {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  // pictureName: looked up as a program file (see programfiles.h).
  explicit AboutBox(QWidget* parent = nullptr, QString pictureName = aboutPictureName());

  void setRouterVersion(const QString& banner);  // the Version label
  QString routerVersion() const;
  bool hasPicture() const;
  // Shows the box application-modal without blocking the caller.
  void showModal();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* image_;
  QLabel* version_;
  QString pictureName_;
};

}  // namespace tarvik
