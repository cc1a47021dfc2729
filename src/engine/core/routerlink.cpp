// Each exchange's verdict, and what the user is told about a router that
// cannot be used: the reason on the status line (an error line in the
// headless program), the channel boxes as unknown, the reason as the tip,
// a notice, and the time in the journal as a stretch without an answer.
// Once per streak, and once more when an exchange goes through again.

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "engine/core/corestate.h"
#include "engine/core/linktexts.h"

namespace tarvik {

namespace {

constexpr std::string_view kMask = "****";

}  // namespace

void TarvikCore::State::judgeEndedExchange(const Exchange& exchange, bool timedOut) {
  const ExchangeVerdict verdict = judgeExchange(exchange.signs);
  if (!verdict.counts) return;
  if (!verdict.fault) return linkWorked();
  switch (*verdict.fault) {
    case LinkFault::Unreachable: {
      const ConnectFailure why = timedOut ? ConnectFailure::TimedOut : ports.transport.connectFailure();
      return linkFailed(LinkFault::Unreachable, texts::connectFailureText(why, toUtf8(linkHost), linkPort,
                                                                          ports.transport.errorText()));
    }
    case LinkFault::LoginRefused:
      return linkFailed(LinkFault::LoginRefused, texts::kLoginRefused);
    case LinkFault::Unreadable:
    case LinkFault::SendFailed:
      return linkFailed(LinkFault::Unreadable, texts::kUnreadable);
  }
}

// Too much text without a prompt: told at once, not when the exchange
// times out.
void TarvikCore::State::answersUnreadable(Exchange& exchange) {
  if (exchange.signs.broken) return;
  exchange.signs.broken = true;
  linkFailed(LinkFault::Unreadable, texts::kUnreadable);
}

void TarvikCore::State::linkFailed(LinkFault fault, const std::string& utf8) {
  if (!link.failed(fault, utf8)) return;
  mirror.showStatusError(utf8);
  const std::string unknown = toSjis(texts::kStateUnknown);
  for (int channel : {0, 1}) mirror.setChannelText(channel, unknown);
  refreshMainTip();
  journal.watch().linkFailed(utf8, ports.clock.now());
}

void TarvikCore::State::linkWorked() {
  const std::optional<LinkFault> fault = link.fault();
  const std::string told = link.text();
  if (!link.worked()) return;
  const std::string back = texts::linkBackText(*fault);
  // Unless something newer has replaced it.
  if (mirror.status() == told) setStatus(back);
  const std::string unknown = toSjis(texts::kStateUnknown);
  for (int channel : {0, 1}) {
    const ChannelState& state = parser.channel(channel);
    if (mirror.channelText(channel) == unknown)
      mirror.setChannelText(channel, state.texts[state.DisplayIndex]);
  }
  refreshMainTip();
  journal.watch().linkBack(back, ports.clock.now());
}

std::string TarvikCore::State::masked(std::string_view sjisLine) const {
  return maskWord(maskWord(sjisLine, settings.tarvik.PASS, kMask), answer.secret(), kMask);
}

}  // namespace tarvik
