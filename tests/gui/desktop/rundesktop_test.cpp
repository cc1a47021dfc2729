// The desktop program's start with settings it cannot read: the message is
// shown, and once it is acknowledged the program ends unsuccessfully
// instead of running on without a window.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "qt/desktop/desktop.h"

namespace tarvik {
namespace {

TEST(RunDesktop, SettingsThatCannotBeReadAreShownAndEndTheProgram) {
  char pattern[] = "/tmp/tarvik-rundesktop-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::filesystem::path dir = pattern;
  std::filesystem::create_directory(dir / "Tarvik.ini");  // a folder where the file belongs

  QString shown;
  QTimer acknowledge;
  QObject::connect(&acknowledge, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || box->objectName() != "ErrorBox" || !box->isVisible()) continue;
      shown = box->text();
      box->buttons().first()->click();
      acknowledge.stop();
    }
  });
  acknowledge.start(20);
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  // A session of its own: the single-instance lock is taken in it.
  ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  const int code = runDesktop(*app, app::ProgramOptions{}, dir);
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(code, kSettingsUnreadable);
  EXPECT_TRUE(shown.startsWith("設定を読み込めません: ")) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QString::fromStdString((dir / "Tarvik.ini").string()))) << shown.toStdString();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarvik
