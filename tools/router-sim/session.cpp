#include "session.h"

#include "consolecommands.h"
#include "router.h"
#include "sjistext.h"

namespace sim {
namespace {

constexpr std::size_t kMaxLine = 1024;
constexpr std::size_t kFloodBytes = 1024 * 1024;

std::string eol() { return std::string(kEol); }

}  // namespace

Session::Session(Router& router, std::unique_ptr<Link> link, QObject* parent)
    : QObject(parent),
      router_(router),
      link_(std::move(link)),
      faults_(router.faults()),
      timing_(router.timing()),
      shaper_(faults_, timing_, router.rng()()) {
  pacer_.setSingleShot(true);
  connect(&pacer_, &QTimer::timeout, this, [this] { drain(); });
  link_->onData = [this](const QByteArray& bytes) { feed(bytes); };
  link_->onClosed = [this] {
    if (ended_) return;
    ended_ = true;
    ++router_.endedSessions();
    pacer_.stop();
    if (onEnded) onEnded();
  };
  ++router_.sessions();
}

Session::~Session() { --router_.sessions(); }

void Session::start() {
  if (has(Fault::Refuse)) {
    closeQueued_ = true;
    drain();
    return;
  }
  if (const std::string pre = shaper_.preamble(); !pre.empty()) queue_.push_back({pre, 0});
  say("Welcome to MN128-SOHO" + eol() + eol() + "login: ");
}

void Session::feed(const QByteArray& bytes) {
  if (has(Fault::Silent) || state_ == State::Done) return;
  for (char ch : bytes) takeByte(ch);
  pump();
}

void Session::takeByte(char ch) {
  const auto b = static_cast<unsigned char>(ch);
  switch (telnet_) {
    case Telnet::Data:
      if (b == 0xFF) {
        telnet_ = Telnet::Iac;
        return;
      }
      break;
    case Telnet::Iac:
      if (b == 0xFF) {
        telnet_ = Telnet::Data;  // an escaped 0xFF data byte
        break;
      }
      telnet_ = b >= 0xFB && b <= 0xFE ? Telnet::Option : b == 0xFA ? Telnet::Sub : Telnet::Data;
      return;
    case Telnet::Option:
      telnet_ = Telnet::Data;
      return;
    case Telnet::Sub:
      if (b == 0xFF) telnet_ = Telnet::SubIac;
      return;
    case Telnet::SubIac:
      telnet_ = b == 0xF0 ? Telnet::Data : Telnet::Sub;
      return;
  }
  if (ch == '\r' || (ch == '\n' && !lastWasCr_)) {
    lines_.push_back(partial_);
    partial_.clear();
    lastWasCr_ = ch == '\r';
    return;
  }
  if (ch == '\0' || ch == '\n') return;  // CR NUL and CR LF end one line only
  lastWasCr_ = false;
  if (ch == '\b' || ch == 0x7F) {
    if (!partial_.empty()) partial_.pop_back();
    return;
  }
  partial_.push_back(ch);
  if (partial_.size() >= kMaxLine) {
    lines_.push_back(partial_);
    partial_.clear();
  }
}

void Session::pump() {
  while (!answering_ && !lines_.empty() && state_ != State::Done) {
    std::string line = lines_.front();
    lines_.pop_front();
    if (state_ == State::Shell && has(Fault::Slow) && !line.empty() && !isLogout(line)) {
      answering_ = true;
      QTimer::singleShot(timing_.slowMs, this, [this, line] {
        answering_ = false;
        handle(line);
        pump();
      });
      return;
    }
    handle(line);
  }
}

void Session::handle(const std::string& line) {
  switch (state_) {
    case State::User:
      loginLine(line);
      break;
    case State::Password:
      passwordLine(line);
      break;
    case State::Shell:
      shellLine(line);
      break;
    case State::Done:
      break;
  }
}

// With a password set, every user name is asked for one, and a wrong name
// or password gets the same refusal, as the router's console answers: it
// does not tell which of the two was wrong.
void Session::loginLine(const std::string& line) {
  say(line + eol());
  if (line.empty()) {
    say("login: ");
  } else if (isLogout(line)) {
    end(false);
  } else if (router_.password().empty()) {
    if (line == "admin") {
      enterShell();
    } else {
      say(sj("ユーザ名が違います。") + eol() + "login: ");
    }
  } else {
    user_ = line;
    say(sj("パスワード: "));
    state_ = State::Password;
  }
}

void Session::passwordLine(const std::string& line) {
  say(eol());  // the password itself is not echoed
  if (user_ == "admin" && line == router_.password()) {
    enterShell();
    return;
  }
  say(sj("ログインできません。") + eol());
  if (++failures_ >= 3) {
    say("Connection closed." + eol());
    end(true);
    return;
  }
  state_ = State::User;
  say("login: ");
}

void Session::enterShell() {
  state_ = State::Shell;
  say(promptFor(router_.variant()));
}

void Session::shellLine(const std::string& line) {
  say(line + eol());  // the prompt line ends with the echoed command
  if (isLogout(line)) {
    end(false);
    return;
  }
  if (line.empty()) {
    say(promptFor(router_.variant()));
    return;
  }
  std::string answer = runCommand(router_, line);
  if (has(Fault::Flood)) {
    // Output no client can cut into answers: far longer than any, no prompt.
    say(std::string(kFloodBytes, 'x'));
    return;
  }
  if (has(Fault::Cut) && !cutDone_ && !answer.empty()) {
    cutDone_ = true;
    say(answer.substr(0, answer.size() / 2));
    end(true);
    return;
  }
  say(answer + router_.takeNotices() + promptFor(router_.variant()));
}

void Session::end(bool evenWhenHanging) {
  state_ = State::Done;
  lines_.clear();
  if (has(Fault::Hang) && !evenWhenHanging) return;
  closeQueued_ = true;
  drain();
}

void Session::say(const std::string& sjis) {
  if (has(Fault::Silent)) return;
  const char code = router_.kanjiCode();
  for (Piece& p : shaper_.shape(encodeFor(code, sjis), code)) queue_.push_back(std::move(p));
  drain();
}

void Session::drain() {
  while (!queue_.empty()) {
    if (pacer_.isActive()) return;
    Piece& front = queue_.front();
    if (front.delayMs > 0) {
      pacer_.start(front.delayMs);
      front.delayMs = 0;
      return;
    }
    link_->send(QByteArray::fromStdString(front.bytes));
    queue_.pop_front();
  }
  if (closeQueued_ && !closing_) {
    closing_ = true;
    link_->finish();
  }
}

}  // namespace sim
