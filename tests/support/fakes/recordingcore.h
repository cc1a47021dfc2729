#pragma once
// A stand-in for the engine behind the windows: it records every command as
// a line ("ConnectFromMenu 5") and keeps a real settings store and real
// settings files in a directory of the test's own.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/enginecommands.h"

namespace tarvik::test {

class RecordingCore : public EngineCommands {
 public:
  explicit RecordingCore(std::filesystem::path dir) : files_(std::move(dir)) {}

  const SettingsStore& settings() const override { return store; }
  const SettingsFiles& files() const override { return files_; }
  void loadSettings() override { files_.loadAll(store); }
  void applySettings(const SettingsStore& edited) override { store = edited; }
  ApplicationList loadApplications(int destination) const override {
    return files_.loadApplications(destination);
  }
  std::string saveApplications(int destination, const ApplicationList& apps) override {
    return files_.saveApplications(destination, apps);
  }

  void FormCreate(const std::vector<std::string>& arguments) override {
    record("FormCreate " + std::to_string(arguments.size()));
  }
  void FormShow() override { record("FormShow"); }
  bool FormCloseQuery(const WindowPlacement& p) override {
    record("FormCloseQuery " + std::to_string(p.parked));
    placement = p;
    return closeAllowed;
  }
  void DisconnectQuestionAnswered(bool ok) override {
    record("DisconnectQuestionAnswered " + std::to_string(ok));
  }
  void FormClose() override { record("FormClose"); }
  void EndSession(const WindowPlacement& p) override {
    record("EndSession " + std::to_string(p.parked));
    placement = p;
  }

  void AsyncSock1Connect(SocketId socket) override { record("AsyncSock1Connect " + std::to_string(socket)); }
  void AsyncSock1Receive(SocketId socket, std::string_view bytes) override {
    record("AsyncSock1Receive " + std::to_string(socket) + " " + std::string(bytes));
  }
  void AsyncSock1Close(SocketId socket) override { record("AsyncSock1Close " + std::to_string(socket)); }
  void Timer1Timer() override { record("Timer1Timer"); }
  void Timer2Timer() override { record("Timer2Timer"); }
  void TIMEMANTimer() override { record("TIMEMANTimer"); }
  void ExchangeWatchdogTimer() override { record("ExchangeWatchdogTimer"); }

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
  void Config() override { record("Config"); }
  // The save itself is the real one, so the tests see the files it writes.
  std::string ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) override {
    store = edited;
    std::string error = files_.saveDialogSettings(store, shownApps);
    if (error.empty()) record("ConfigClosed");
    return error;
  }
  void CredentialsEntered(const std::string& userId, const std::string& password) override {
    record("CredentialsEntered " + userId + " " + password);
  }
  void CredentialsCancelled() override { record("CredentialsCancelled"); }
  void ReportButtonClick(ReportButton button) override {
    record("ReportButtonClick " + std::to_string(static_cast<int>(button)));
  }
  void ExecWWW(int page) override { record("ExecWWW " + std::to_string(page)); }
  void setPollIntervalOverrideMs(int ms) override { record("setPollIntervalOverrideMs " + std::to_string(ms)); }

  bool jigenChecked() const override { return jigen; }
  const ChannelState& channel(Channel ch) const override { return ch == Channel::B1 ? b1 : b2; }
  const std::string& routerVersion() const override { return version; }
  int routerPageBase() const override { return pageBase; }
  std::string routerPageAddress(int page) const override { return "page " + std::to_string(page); }
  const std::vector<std::string>& destinationList() const override { return destinations; }
  bool exchangeIdle() const override { return true; }
  std::string soundFile(std::string_view sjisSetting) const override { return std::string(sjisSetting); }

  std::string last() const { return calls.empty() ? std::string() : calls.back(); }
  void record(std::string call) { calls.push_back(std::move(call)); }

  SettingsStore store;
  std::vector<std::string> calls;
  bool closeAllowed = true;
  bool jigen = true;
  WindowPlacement placement;  // the last close request's
  ChannelState b1, b2;
  std::string version;
  int pageBase = 0;
  std::vector<std::string> destinations = std::vector<std::string>(16);

 private:
  SettingsFiles files_;
};

}  // namespace tarvik::test
