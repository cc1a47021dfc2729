#include "textview/headlessprompter.h"

#include "engine/core/tarvikcore.h"

namespace tarvik::app {

const char* const HeadlessPrompter::kCredentialsRefused = "ID/パスワード入力はヘッドレスでは使えません";

void HeadlessPrompter::askCredentials(const std::string&) {
  post_([this] {
    if (!core_) return;
    core_->CredentialsCancelled();
    // After the cancel, so the message is what the status line keeps.
    view_.setStatusLine(kCredentialsRefused);
  });
}

void HeadlessPrompter::askDisconnectOnExit() {
  post_([this] {
    if (core_) core_->DisconnectQuestionAnswered(false);
  });
}

}  // namespace tarvik::app
