#pragma once
// A settings form over controls that are plain values: what each control
// shows, and what the dialog did. Like a toolkit, it reports every change
// made to a control back to the form, by program or not.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "desktop/settingsform.h"

namespace tarvik::desktop::test {

class FakeFormView : public SettingsFormView {
 public:
  std::string text(std::string_view c) const override {
    const auto it = texts.find(std::string(c));
    return it == texts.end() ? std::string() : it->second;
  }
  void setText(std::string_view c, const std::string& t) override {
    texts[std::string(c)] = t;
    if (form) form->edited(c, t);
  }
  bool checked(std::string_view c) const override {
    const auto it = checks.find(std::string(c));
    return it != checks.end() && it->second;
  }
  void setChecked(std::string_view c, bool on) override {
    checks[std::string(c)] = on;
    if (form) form->toggled(c, on);
  }
  void setEnabled(std::string_view c, bool on) override { enabled[std::string(c)] = on; }
  void setEntries(std::string_view c, const std::vector<std::string>& e, int shown) override {
    entries[std::string(c)] = e;
    showEntry(c, shown);
  }
  void showEntry(std::string_view c, int index) override {
    const auto& list = entries[std::string(c)];
    texts[std::string(c)] = index >= 0 && index < static_cast<int>(list.size()) ? list[index] : std::string();
  }
  void setItems(std::string_view, const std::vector<std::string>& i) override { items = i; }
  void addItem(std::string_view, const std::string& i) override { items.push_back(i); }
  void removeItem(std::string_view, int row) override { items.erase(items.begin() + row); }
  int selectedItem(std::string_view) const override { return selected; }
  bool dialogShown() const override { return shown; }
  void showDialog() override {
    shown = true;
    ++raised;
  }
  void hideDialog() override { shown = false; }
  void showMessage(MessageKind kind, const std::string& t) override { messages.push_back({kind, t}); }
  std::optional<std::string> pickFile() override {
    ++pickerCalls;
    return nextFile;
  }
  void play(const std::string& sjis) override { played.push_back(sjis); }
  void monitoringOffChanged(bool off) override { monitoringOff.push_back(off); }
  void stayOnTopChanged(bool onTop) override { stayOnTop.push_back(onTop); }
  void connectHintChanged(const std::string& t) override { hints.push_back(t); }

  // The user: types, ticks, chooses, clicks, as the toolkit reports it.
  void type(std::string_view c, const std::string& t) { setText(c, t); }
  void tick(std::string_view c, bool on) { setChecked(c, on); }
  void choose(std::string_view c, int index) {
    showEntry(c, index);
    form->edited(c, text(c));
    form->chosen(c, text(c));
  }

  SettingsForm* form = nullptr;
  std::map<std::string, std::string> texts;
  std::map<std::string, bool> checks;
  std::map<std::string, bool> enabled;
  std::map<std::string, std::vector<std::string>> entries;
  std::vector<std::string> items;
  int selected = -1;
  bool shown = false;
  int raised = 0;
  struct Message {
    MessageKind kind;
    std::string text;
  };
  std::vector<Message> messages;
  std::optional<std::string> nextFile;
  int pickerCalls = 0;
  std::vector<std::string> played;
  std::vector<bool> monitoringOff, stayOnTop;
  std::vector<std::string> hints;
};

}  // namespace tarvik::desktop::test
