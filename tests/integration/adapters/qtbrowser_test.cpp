// QtBrowser: web addresses pass as they are, local paths become file URLs.

#include "qt/adapters/qtbrowser.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QObject>

namespace tarvik {
namespace {

struct UrlCase {
  const char* address;
  QUrl expected;
};

TEST(QtBrowserTest, UrlForAddresses) {
  const QString cwd = QDir::currentPath();
  const UrlCase cases[] = {
      {"http://192.168.0.1/setup.html", QUrl("http://192.168.0.1/setup.html")},
      {"HTTP://router/index.htm", QUrl("HTTP://router/index.htm")},
      {"https://example.invalid/", QUrl("https://example.invalid/")},
      {"manual/manual.html", QUrl::fromLocalFile(cwd + "/manual/manual.html")},
      {"/opt/tarvik/manual/manual.html", QUrl::fromLocalFile("/opt/tarvik/manual/manual.html")},
      {"file:///tmp/x.html", QUrl("file:///tmp/x.html")},
      {"", QUrl()},
  };
  for (const auto& c : cases) EXPECT_EQ(QtBrowser::urlFor(c.address), c.expected) << c.address;
}

class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

TEST(QtBrowserTest, OpenHandsTheUrlToTheDesktop) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("http", &catcher, "open");
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  QtBrowser browser;
  browser.open("http://127.0.0.1/b_menu.htm");
  browser.open("/opt/tarvik/manual/manual.html");
  browser.open("");
  QDesktopServices::unsetUrlHandler("http");
  QDesktopServices::unsetUrlHandler("file");
  EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl("http://127.0.0.1/b_menu.htm"),
                                       QUrl::fromLocalFile("/opt/tarvik/manual/manual.html")}));
}

}  // namespace
}  // namespace tarvik

#include "qtbrowser_test.moc"
