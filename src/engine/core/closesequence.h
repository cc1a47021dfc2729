#pragma once
// The way out while a line is up: a close request asks whether to
// disconnect first (once while the question is open); after the answer the
// next request closes, and after OK the router's report of the
// disconnection asks for the close itself.

namespace tarvik {

class CloseSequence {
 public:
  // A new run (the window is shown): a close asks again.
  void startRun() { exitAfterDisconnect_ = false; }

  // A close request must wait for the question: asking is on, a channel is
  // in use and the question has not been answered in this run.
  bool holdsClose(bool askOnExit, bool channelInUse) const {
    return askOnExit && !exitAfterDisconnect_ && channelInUse;
  }
  // True when the question is to be asked now: not while it is open.
  bool askQuestion();
  // The question was answered; false when none was open (nothing follows).
  bool questionAnswered();
  // Either answer lets the next close request through: after OK once the
  // router reports the disconnection, after Cancel with the line left up.
  void exitAfterDisconnect() { exitAfterDisconnect_ = true; }

  // The router reported a disconnection. True when it is the one the
  // close waited for: the program closes now.
  bool disconnected();
  // The close has been asked for: the poll stops.
  bool closeRequested() const { return closeRequested_; }

 private:
  bool exitAfterDisconnect_ = false;
  bool questionOpen_ = false;
  bool closeRequested_ = false;
};

}  // namespace tarvik
