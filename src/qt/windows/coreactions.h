#pragma once
// What the windows ask of the core: the user's actions, named after the
// handlers of TarvikCore, and the few pieces of state the windows read.
// The desktop program forwards these to the real TarvikCore; widget tests
// put a recording stand-in behind the same interface.

#include <string>

#include "core/tarvikcore.h"

namespace tarvik {

class CoreActions {
 public:
  virtual ~CoreActions() = default;

  virtual SettingsStore& settings() = 0;
  virtual const SettingsFiles& files() const = 0;

  virtual bool FormCloseQuery(bool parked) = 0;
  virtual void DisconnectQuestionAnswered(bool ok) = 0;
  virtual void FormClose() = 0;
  virtual void EndSession(bool parked) = 0;

  virtual void ConnectBtnClick() = 0;
  virtual void ConnectFromMenu(int destination) = 0;
  virtual void DiscBtnClick() = 0;
  virtual void B1DiscClick() = 0;
  virtual void B2DiscClick() = 0;
  virtual void Edit1Click() = 0;
  virtual void Edit2Click() = 0;
  virtual void JIGENClick() = 0;
  virtual bool jigenChecked() const = 0;
  virtual void Config() = 0;
  virtual void ConfigClosed() = 0;
  virtual void CredentialsEntered(const std::string& userId, const std::string& password) = 0;
  virtual void CredentialsCancelled() = 0;
  virtual void ReportButtonClick(ReportButton button) = 0;
  virtual void ExecWWW(int page) = 0;

  virtual const ChannelState& channel(Channel ch) const = 0;
};

}  // namespace tarvik
