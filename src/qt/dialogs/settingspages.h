#pragma once
// The pages of the settings dialog, control by control, with their
// designer names. The dialog binds them to the settings store.

#include <QString>
#include <array>

class QTabWidget;
class QWidget;
class QLineEdit;
class QPushButton;
class QListWidget;
class QPlainTextEdit;

namespace tarvik {

class DestinationBox;

struct SettingsPages {
  enum Tab { Basic = 0, Sound, Apps, Timed, Advanced, Names, Notify, Tariff };

  DestinationBox* defaultBox = nullptr;  // ComboBox1, [Tarvik] DEFAULT
  DestinationBox* autoBox = nullptr;     // ComboBox2, [Tarvik] AUTO
  DestinationBox* redialBox = nullptr;   // RedialBox, [Tarvik] REDIAL
  DestinationBox* appBox = nullptr;      // ComboBox3, the application page's destination
  std::array<QLineEdit*, 7> apps{};      // Edit7 Edit8 Edit9 Edit10 Edit11 Edit19 Edit20
  QPushButton* soundBrowse = nullptr;    // 参照 on the sound page
  QPushButton* appBrowse = nullptr;      // 参照 on the application page
  QPlainTextEdit* script = nullptr;      // Script
  QLineEdit* number = nullptr;           // Edit22
  QLineEdit* name = nullptr;             // Edit23
  QPushButton* addName = nullptr;        // Button4 追加
  QPushButton* deleteName = nullptr;     // Button5 削除
  QListWidget* nameList = nullptr;       // ListBox1
};

// Builds the pages into tabs, in tab order; every control carries its
// designer name as its object name.
SettingsPages buildSettingsPages(QTabWidget* tabs);

}  // namespace tarvik
