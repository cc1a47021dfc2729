#include "qt/windows/aboutbox.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "qt/windows/fonts.h"

namespace tarvik {

AboutBox::AboutBox(QWidget* parent, QString pictureName)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      pictureName_(std::move(pictureName)) {
  setObjectName(QStringLiteral("TForm4"));
  setWindowTitle(QStringLiteral("Tarvik - About"));
  setFont(proportionalFont(13));
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setFixedSize(318, 180);

  image_ = new QLabel(this);
  image_->setObjectName(QStringLiteral("Image1"));
  image_->setGeometry(26, 8, 271, 57);
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* label1 = new QLabel(QStringLiteral("Version 1.46"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->move(124, 64);
  label1->adjustSize();

  // The licence, centred between the two versions.
  auto* licence = new QLabel(QStringLiteral("MIT License"), this);
  licence->setObjectName(QStringLiteral("LicenseLabel"));
  licence->setGeometry(4, 84, 318 - 8, 18);
  licence->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  version_ = new QLabel(this);
  version_->setObjectName(QStringLiteral("Version"));
  version_->setGeometry(40, 104, 318 - 40 - 4, 20);
  version_->setTextFormat(Qt::PlainText);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setGeometry(121, 152, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::setRouterVersion(const QString& banner) { version_->setText(banner); }

QString AboutBox::routerVersion() const { return version_->text(); }

bool AboutBox::hasPicture() const { return !image_->pixmap().isNull(); }

void AboutBox::showModal() {
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
}

void AboutBox::showEvent(QShowEvent* event) {
  // Read afresh at every showing, so a replaced picture shows at once; a
  // missing or unreadable one leaves the space empty instead of failing.
  const QString path = findProgramFile(pictureName_);
  QImage picture;
  if (!path.isEmpty()) picture.load(path);
  if (picture.isNull()) {
    image_->clear();
  } else {
    image_->setPixmap(QPixmap::fromImage(
        picture.copy(0, 0, std::min(picture.width(), 271), std::min(picture.height(), 57))));
  }
  QDialog::showEvent(event);
}

}  // namespace tarvik
