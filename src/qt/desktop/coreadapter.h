#pragma once
// The windows' CoreActions, answered by the real TarvikCore.

#include "core/tarvikcore.h"
#include "windows/coreactions.h"

namespace tarvik {

class CoreAdapter final : public CoreActions {
 public:
  explicit CoreAdapter(TarvikCore& core) : core_(core) {}

  SettingsStore& settings() override { return core_.settings(); }
  const SettingsFiles& files() const override { return core_.files(); }
  bool FormCloseQuery(bool parked) override { return core_.FormCloseQuery(parked); }
  void DisconnectQuestionAnswered(bool ok) override { core_.DisconnectQuestionAnswered(ok); }
  void FormClose() override { core_.FormClose(); }
  void EndSession(bool parked) override { core_.EndSession(parked); }
  void ConnectBtnClick() override { core_.ConnectBtnClick(); }
  void ConnectFromMenu(int destination) override { core_.ConnectFromMenu(destination); }
  void DiscBtnClick() override { core_.DiscBtnClick(); }
  void B1DiscClick() override { core_.B1DiscClick(); }
  void B2DiscClick() override { core_.B2DiscClick(); }
  void Edit1Click() override { core_.Edit1Click(); }
  void Edit2Click() override { core_.Edit2Click(); }
  void JIGENClick() override { core_.JIGENClick(); }
  bool jigenChecked() const override { return core_.jigenChecked(); }
  void Config() override { core_.Config(); }
  void ConfigClosed() override { core_.ConfigClosed(); }
  void CredentialsEntered(const std::string& userId, const std::string& password) override {
    core_.CredentialsEntered(userId, password);
  }
  void CredentialsCancelled() override { core_.CredentialsCancelled(); }
  void ReportButtonClick(ReportButton button) override { core_.ReportButtonClick(button); }
  void ExecWWW(int page) override { core_.ExecWWW(page); }
  const ChannelState& channel(Channel ch) const override { return core_.channel(ch); }

 private:
  TarvikCore& core_;
};

}  // namespace tarvik
