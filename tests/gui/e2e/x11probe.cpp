// The end-to-end tests' questions to the X display, one per run:
//   tarvik-e2e-probe clipboard   prints the text on the X clipboard, as
//                                another program put it there ("copy the
//                                address")
//   tarvik-e2e-probe tray        succeeds when a tray host takes icons
//                                (it owns the system tray selection)
#include <QApplication>
#include <QClipboard>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const char* question = argc > 1 ? argv[1] : "";
  if (std::strcmp(question, "tray") == 0) return QSystemTrayIcon::isSystemTrayAvailable() ? 0 : 1;
  if (std::strcmp(question, "clipboard") != 0) {
    std::fputs("usage: tarvik-e2e-probe clipboard | tray\n", stderr);
    return 2;
  }
  // Let the clipboard owner answer before reading.
  QTimer::singleShot(200, &app, [] {
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    QCoreApplication::quit();
  });
  return app.exec();
}
