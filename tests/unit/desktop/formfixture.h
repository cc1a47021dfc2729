#pragma once
// A settings form over a fake dialog and a recording engine whose settings
// files are real ones in a folder of the test's own.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/base/sjis.h"
#include "fakeformview.h"
#include "fakes/recordingcore.h"
#include "fakes/testdir.h"

namespace tarvik::desktop::test {

struct FormTest : ::testing::Test {
  tarvik::testing::TestDir dir;
  tarvik::test::RecordingCore core{dir.path()};
  FakeFormView view;
  SettingsForm form{core, view};

  FormTest() {
    view.form = &form;
    form.load();
  }

  static std::vector<std::string> providerEntries() {
    std::vector<std::string> entries;
    for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " Provider" + std::to_string(i));
    return entries;
  }

  // Tarvik.ini as UTF-8 text (empty when it does not exist).
  std::string iniText() const {
    std::ifstream in(core.files().iniPath(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return toUtf8(bytes.str());
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : view.messages) out.push_back(m.text);
    return out;
  }
};

}  // namespace tarvik::desktop::test
