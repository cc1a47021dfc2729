#pragma once
// A stand-in for the core behind the windows: it records every action as a
// line ("ConnectFromMenu 5") and keeps a real settings store and real
// settings files in a directory of the test's own.

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settingsfiles.h"
#include "windows/coreactions.h"

namespace tarvik::test {

class RecordingCore : public CoreActions {
 public:
  explicit RecordingCore(std::filesystem::path dir) : files_(std::move(dir)) {}

  SettingsStore& settings() override { return store; }
  const SettingsFiles& files() const override { return files_; }

  bool FormCloseQuery(bool parked) override {
    record("FormCloseQuery " + std::to_string(parked));
    return closeAllowed;
  }
  void DisconnectQuestionAnswered(bool ok) override {
    record("DisconnectQuestionAnswered " + std::to_string(ok));
  }
  void FormClose() override { record("FormClose"); }
  void EndSession(bool parked) override { record("EndSession " + std::to_string(parked)); }
  void ConnectBtnClick() override { record("ConnectBtnClick"); }
  void ConnectFromMenu(int destination) override { record("ConnectFromMenu " + std::to_string(destination)); }
  void DiscBtnClick() override { record("DiscBtnClick"); }
  void B1DiscClick() override { record("B1DiscClick"); }
  void B2DiscClick() override { record("B2DiscClick"); }
  void Edit1Click() override { record("Edit1Click"); }
  void Edit2Click() override { record("Edit2Click"); }
  void JIGENClick() override {
    record("JIGENClick");
    jigen = !jigen;
  }
  bool jigenChecked() const override { return jigen; }
  void Config() override { record("Config"); }
  void ConfigClosed() override { record("ConfigClosed"); }
  void CredentialsEntered(const std::string& userId, const std::string& password) override {
    record("CredentialsEntered " + userId + " " + password);
  }
  void CredentialsCancelled() override { record("CredentialsCancelled"); }
  void ReportButtonClick(ReportButton button) override {
    record("ReportButtonClick " + std::to_string(static_cast<int>(button)));
  }
  void ExecWWW(int page) override { record("ExecWWW " + std::to_string(page)); }
  const ChannelState& channel(Channel ch) const override { return ch == Channel::B1 ? b1 : b2; }

  std::string last() const { return calls.empty() ? std::string() : calls.back(); }
  void record(std::string call) { calls.push_back(std::move(call)); }

  SettingsStore store;
  std::vector<std::string> calls;
  bool closeAllowed = true;
  bool jigen = true;
  ChannelState b1, b2;

 private:
  SettingsFiles files_;
};

}  // namespace tarvik::test
