#pragma once
// The answer being parsed and the exchange it came on: what the parser's
// reactions need to know about it (a command exchange's busy line is not
// redialled; a quiet exchange echoes nothing; a per-call password it sent
// is never shown) and whether one is being parsed at all.

#include <string>
#include <utility>

#include "engine/core/exchangetable.h"

namespace tarvik {

class AnswerInParse {
 public:
  void begin(const Exchange& exchange) { begin(exchange.command, exchange.quiet, exchange.secret); }
  void begin(bool command, bool quiet, std::string secret = {}) {
    command_ = command;
    quiet_ = quiet;
    secret_ = std::move(secret);
    parsing_ = true;
  }
  // The exchange's flags stay for what comes after the answer.
  void end() { parsing_ = false; }

  bool parsing() const { return parsing_; }
  bool command() const { return command_; }
  bool quiet() const { return quiet_; }
  const std::string& secret() const { return secret_; }

 private:
  bool command_ = false;
  bool quiet_ = false;
  std::string secret_;
  bool parsing_ = false;
};

}  // namespace tarvik
