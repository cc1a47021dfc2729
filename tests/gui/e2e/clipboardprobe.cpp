// Prints the text on the X clipboard, as another program put it there
// (the end-to-end test's view of "copy the address").
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  // Let the clipboard owner answer before reading.
  QTimer::singleShot(200, &app, [] {
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    QCoreApplication::quit();
  });
  return app.exec();
}
