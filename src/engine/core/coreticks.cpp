// The poll tick and the other timers.

#include "engine/base/sjis.h"
#include "engine/core/corestate.h"
#include "engine/core/coretexts.h"
#include "engine/net/exchange.h"

namespace tarvik {

// Poll tick, in this order: clock and B1, strip and the start-up connect,
// the flat-rate sound, timed connect, timed disconnect, warning, redial,
// router script, then the status poll. Any dial, disconnect or script
// started here takes the place of this tick's poll.
void TarvikCore::State::Timer1Timer() {
  if (closing.closeRequested()) return;
  const LocalTime now = ports.clock.now();
  const ChannelState& b1 = parser.channel(0);
  const ChannelState& b2 = parser.channel(1);
  const bool lineFree = LineFree(b1);

  TimedSettings timedSettings{settings.time.ON, settings.time.OFF, settings.time.WARNING,
                              settings.option.startupConnect, jigen};
  TickPlan plan = timed.tick(now.hour, now.minute, lineFree, timedSettings, b1, b2);
  ports.view.setStrip(plan.night ? StripColour::Night : StripColour::Day);
  if (plan.startupDial) dialDestination(settings.tarvik.AUTO);
  if (plan.flatRateSound) play(settings.sound.s6);
  if (plan.timedDial) dialDestination(settings.tarvik.AUTO);
  switch (plan.disconnect) {
    case TimedDisconnect::All:
      DiscBtnClick();
      break;
    case TimedDisconnect::B1:
      B1DiscClick();
      break;
    case TimedDisconnect::B2:
      B2DiscClick();
      break;
    case TimedDisconnect::None:
      break;
  }
  if (plan.warning) {
    ports.view.setPanelColour(PanelColour::Red);
    play(settings.sound.s7);
  }
  bool pollTaken = plan.suppressPoll();

  if (redial.takeRequest(lineFree)) {
    pollTaken = true;
    Button4Click();
  }

  if (settings.option.runRouterScript && !ScriptSuspended) {
    ScriptRun run = script.step(settings.script, now.hour, now.minute);
    if (!run.chain.empty()) {
      for (const std::string& command : run.commands)
        ports.view.appendDetails(texts::kScript + toUtf8(command));
      pollTaken = true;
      openExchange(run.chain, true);
    }
  }

  if (settings.option.monitoringOff) return;  // not monitoring
  countPollWithoutAnswer();
  // While a connection is still being set up (a router that does not
  // answer at all), another one would only pile up sockets.
  if (ExchangeIdle && !pollTaken && !exchanges.connecting()) {
    parser.setAnalogView(false);
    openExchange(commands::poll(), false);
  }
}

// Three poll ticks in a row with nothing heard from the router since the
// tick before: the channel boxes are no longer current, and the user is
// told so until the router answers again.
void TarvikCore::State::countPollWithoutAnswer() {
  if (!silence.pollTick()) return;
  // A reason already told (a refused connection, login) says more.
  if (!link.troubled()) setStatus(texts::kUnreachable);
  refreshMainTip();
  journal.watch().routerSilent(ports.clock.now());
}

void TarvikCore::State::routerAnswered() {
  if (silence.answered(ports.timers.isActive(TimerId::Timer2))) clearUnreachable();
}

// What the status line said before the silence is old news by now (a dial
// message, an elapsed time): it shows the current state instead, the
// running call's elapsed time or 待機中. A call that was running may have
// ended while the router was silent, its end never seen: the first status
// block that shows both channels free says 待機中 then.
void TarvikCore::State::clearUnreachable() {
  const bool callRunning = ports.timers.isActive(TimerId::Timer2);
  if (mirror.status() == texts::kUnreachable) {
    setStatus(callRunning ? toUtf8(CntTime1.GetText()) : texts::kWaiting);
  }
  refreshMainTip();
  // A router that answers but cannot be used is not back: its trouble's
  // end closes the stretch.
  if (!link.troubled()) journal.watch().routerBack(ports.clock.now());
}

void TarvikCore::State::Timer2Timer() {
  // The elapsed time of a call the router no longer reports on would
  // pretend to be current (and hide the reason).
  if (!silence.silent() && !link.troubled()) setStatus(toUtf8(CntTime1.GetText()));
}

void TarvikCore::State::startTimeman() {
  // A burst of events gives one fetch: a running timer is not restarted.
  if (!ports.timers.isActive(TimerId::TIMEMAN)) ports.timers.start(TimerId::TIMEMAN, 2500, true);
}

void TarvikCore::State::TIMEMANTimer() {
  ports.timers.stop(TimerId::TIMEMAN);
  parser.setAutomaticFetch(true);
  FetchConnectionLog(true);
}

void TarvikCore::State::ExchangeWatchdogTimer() {
  for (SocketId socket : exchanges.expired(ports.clock.tickMs())) endExchange(socket, true);
}

}  // namespace tarvik
