#include "engine/core/silentrouter.h"

namespace tarvik {

bool SilentRouter::pollTick() {
  bool fellSilent = false;
  if (answeredSinceLastPoll_) {
    pollsWithoutAnswer_ = 0;
  } else if (++pollsWithoutAnswer_ >= kSilentPolls && !silent_) {
    silent_ = true;
    fellSilent = true;
  }
  answeredSinceLastPoll_ = false;
  return fellSilent;
}

bool SilentRouter::answered(bool callRunning) {
  answeredSinceLastPoll_ = true;
  pollsWithoutAnswer_ = 0;
  if (!silent_) return false;
  silent_ = false;
  callEndUnseen_ = callRunning;
  return true;
}

bool SilentRouter::bothChannelsIdle() {
  const bool unseen = callEndUnseen_;
  callEndUnseen_ = false;
  return unseen;
}

}  // namespace tarvik
