#include "qt/adapters/qtbrowser.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>

namespace tarvik {

QUrl QtBrowser::urlFor(const std::string& address) {
  const QString text = QString::fromStdString(address).trimmed();
  if (text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
      text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
    return QUrl(text, QUrl::TolerantMode);
  }
  if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return QUrl(text);
  if (text.isEmpty()) return {};
  return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

void QtBrowser::open(const std::string& address) {
  const QUrl url = urlFor(address);
  if (url.isValid()) QDesktopServices::openUrl(url);
}

}  // namespace tarvik
