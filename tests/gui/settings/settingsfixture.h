#pragma once
// A settings dialog over a recording core whose settings files live in a
// directory of the test's own; file choices and sounds are recorded.

#include <QTemporaryDir>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/sjis.h"
#include "qt/dialogs/settingsdialog.h"
#include "fakes/recordingcore.h"

namespace tarvik::test {

struct SettingsFixture {
  QTemporaryDir dir;
  RecordingCore core{dir.path().toStdString()};
  std::vector<std::string> played;
  SettingsDialog dialog{core, [this](const std::string& path) { played.push_back(path); }};
  std::optional<QString> nextFile;  // what the file-open dialog answers
  int pickerCalls = 0;

  SettingsFixture() {
    dialog.setFilePicker([this](QWidget*) {
      ++pickerCalls;
      return nextFile;
    });
  }

  template <typename T>
  T* find(const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }

  // Tarvik.ini as UTF-8 text (empty when it does not exist).
  std::string iniText() const {
    std::ifstream in(core.files().iniPath(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return toUtf8(bytes.str());
  }
};

}  // namespace tarvik::test
