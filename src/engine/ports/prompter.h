#pragma once
#include <string>

namespace tarvik {

// Questions the core puts to the user. Both are asynchronous: the shell
// shows its dialog and later calls the core's answer handler
// (CredentialsEntered / CredentialsCancelled, DisconnectQuestionAnswered).
// The headless front end answers at once (credentials: cancelled).
class Prompter {
 public:
  virtual ~Prompter() = default;
  // Per-call user ID and password dialog, pre-filled with lastUserId.
  virtual void askCredentials(const std::string& lastUserId) = 0;
  // "回線を切断してもよろしいですか?" with OK / ｷｬﾝｾﾙ.
  virtual void askDisconnectOnExit() = 0;
};

}  // namespace tarvik
