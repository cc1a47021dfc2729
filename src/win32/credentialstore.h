#pragma once
// The router password in the Windows Credential Manager: one generic
// credential per config folder, of the user who runs the program, kept on
// this machine (not roamed). The calls answer at once, so done runs before
// each request returns.

#include <string>

#include "engine/ports/secretstore.h"

namespace tarvik::win32 {

class CredentialStore : public SecretStore {
 public:
  // account: the config folder the password belongs to (UTF-8).
  explicit CredentialStore(std::string account);

  void lookup(Done done) override;
  void store(const std::string& password, Done done) override;
  void clear(Done done) override;

  // The credential's name, as the Credential Manager lists it.
  const std::wstring& targetName() const { return target_; }

 private:
  std::wstring target_;
};

}  // namespace tarvik::win32
