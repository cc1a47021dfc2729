#include "engine/core/closesequence.h"

namespace tarvik {

bool CloseSequence::askQuestion() {
  if (questionOpen_) return false;
  questionOpen_ = true;
  return true;
}

bool CloseSequence::questionAnswered() {
  if (!questionOpen_) return false;
  questionOpen_ = false;
  return true;
}

bool CloseSequence::disconnected() {
  if (!exitAfterDisconnect_) return false;
  closeRequested_ = true;
  return true;
}

}  // namespace tarvik
