#pragma once
// What went wrong with the exchanges, told once per streak: the router
// refused the login, could not be reached, answered what cannot be read or
// broke a send. A streak lasts from the first failed exchange until one
// goes through again; the first failure is told, and so is a failure of
// another kind within the streak (or an unreachable router's new reason),
// and its end.

#include <optional>
#include <string>

namespace tarvik {

enum class LinkFault { LoginRefused, Unreachable, Unreadable, SendFailed };

// What an exchange showed by its end, for its verdict.
struct ExchangeSigns {
  bool connected = false;
  bool heard = false;          // the router said something (after telnet)
  bool loggedIn = false;       // a console prompt came: the login went through
  bool expectsStatus = false;  // the chain asks for the channel status
  bool statusSeen = false;     // both channels' status blocks came
  bool broken = false;         // a send failed, or an answer was cut unread

  // What more answers showed (heard, loggedIn, statusSeen).
  void add(const ExchangeSigns& seen);
};

// The verdict of an exchange that ended: a fault, or nullopt when it went
// through. An exchange that heard nothing has no verdict of its own (the
// silent-router count is about that): it returns nullopt with `counts`
// false, as does a broken one, whose fault was told when it broke.
struct ExchangeVerdict {
  std::optional<LinkFault> fault;
  bool counts = true;  // false: the exchange says nothing either way
};
ExchangeVerdict judgeExchange(const ExchangeSigns& signs);

class LinkTrouble {
 public:
  // An exchange failed with fault, told as text. True when the user is to
  // be told now.
  bool failed(LinkFault fault, const std::string& text);
  // An exchange went through. True when it ends a streak.
  bool worked();

  bool troubled() const { return fault_.has_value(); }
  std::optional<LinkFault> fault() const { return fault_; }
  const std::string& text() const { return text_; }

 private:
  std::optional<LinkFault> fault_;
  std::string text_;
};

}  // namespace tarvik
