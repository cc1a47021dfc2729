#pragma once
// A router that stopped answering: three poll ticks in a row with nothing
// heard from it since the tick before, and the channel boxes are no longer
// current. It is silent until something comes from it again.

namespace tarvik {

class SilentRouter {
 public:
  static constexpr int kSilentPolls = 3;

  // A poll tick. True when the router has just fallen silent (the notice
  // is shown from now on).
  bool pollTick();
  // Something came from the router. True when it was silent: it is back,
  // and a call that was running then may have ended unseen.
  bool answered(bool callRunning);
  bool silent() const { return silent_; }

  // A status block shows both channels free. True when a call's end went
  // unseen while the router was silent: the status line says so then.
  bool bothChannelsIdle();
  // The router reported a call's end itself.
  void callEndSeen() { callEndUnseen_ = false; }

 private:
  bool answeredSinceLastPoll_ = false;
  int pollsWithoutAnswer_ = 0;
  bool silent_ = false;
  bool callEndUnseen_ = false;  // a call ran when the router came back
};

}  // namespace tarvik
