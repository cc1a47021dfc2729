#pragma once
// Questions without a screen: there is nobody to type an ID and password,
// and nobody to ask before quitting. Every answer is given later through
// `post` (the event loop), never from inside the core's own call.

#include <functional>

#include "engine/ports/prompter.h"
#include "engine/ports/view.h"

namespace tarvik {
class TarvikCore;
}

namespace tarvik::app {

class HeadlessPrompter : public Prompter {
 public:
  using Post = std::function<void(std::function<void()>)>;
  HeadlessPrompter(View& view, Post post) : view_(view), post_(std::move(post)) {}

  // Set once the core exists (the core needs the prompter to be built).
  void attach(TarvikCore* core) { core_ = core; }

  // The dial is refused with a status-line message and cancelled.
  void askCredentials(const std::string& lastUserId) override;
  // Headless never asks; answered "no" so the line stays up.
  void askDisconnectOnExit() override;

  static const char* const kCredentialsRefused;

 private:
  View& view_;
  Post post_;
  TarvikCore* core_ = nullptr;
};

}  // namespace tarvik::app
