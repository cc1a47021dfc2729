#pragma once
// What the settings form needs of a toolkit's dialog: its controls by their
// designer names (settingsformtable.h), the dialog itself, and the few
// things the main window follows. The Qt and Win32 dialogs implement it
// over their widgets and windows; texts are UTF-8.
//
// Setting a control by program may make the toolkit report the change
// back (a Qt signal, a Win32 notification): the form ignores what it set
// itself, so a view need not hold those reports back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::desktop {

enum class MessageKind { Error, Warning };

class SettingsFormView {
 public:
  virtual ~SettingsFormView() = default;

  // Text fields, number fields (the number as text), destination boxes
  // (the text they show) and the script area (lines joined by "\n").
  virtual std::string text(std::string_view control) const = 0;
  virtual void setText(std::string_view control, const std::string& text) = 0;
  virtual bool checked(std::string_view control) const = 0;
  virtual void setChecked(std::string_view control, bool on) = 0;
  virtual void setEnabled(std::string_view control, bool on) = 0;

  // Destination boxes: the sixteen entries, and the one shown (0 to 15;
  // 16 shows an empty text).
  virtual void setEntries(std::string_view control, const std::vector<std::string>& entries, int shown) = 0;
  virtual void showEntry(std::string_view control, int index) = 0;

  // The caller-name list.
  virtual void setItems(std::string_view control, const std::vector<std::string>& items) = 0;
  virtual void addItem(std::string_view control, const std::string& item) = 0;
  virtual void removeItem(std::string_view control, int row) = 0;
  virtual int selectedItem(std::string_view control) const = 0;  // -1: none

  // The dialog.
  virtual bool dialogShown() const = 0;
  virtual void showDialog() = 0;  // shows it, or brings it to the front
  virtual void hideDialog() = 0;
  virtual void showMessage(MessageKind kind, const std::string& text) = 0;
  // The platform's file-open dialog: the chosen file, nothing when cancelled.
  virtual std::optional<std::string> pickFile() = 0;
  // Plays a sound file named as the settings hold it (Shift-JIS).
  virtual void play(const std::string& sjisSetting) = 0;

  // What the main window follows: "監視しない" ticked (its B1 and B2 fields
  // are enabled exactly when it is not), "常に手前に表示" ticked, and the
  // connect button's hint at every close (the default entry's text).
  virtual void monitoringOffChanged(bool off) = 0;
  virtual void stayOnTopChanged(bool onTop) = 0;
  virtual void connectHintChanged(const std::string& text) = 0;
};

}  // namespace tarvik::desktop
