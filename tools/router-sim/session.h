#pragma once
// One console login: the login dialogue, then the command lines one by one,
// each echoed after the prompt, answered and followed by the next prompt,
// until "l" ends the login and the connection. Input may be typed ahead:
// lines are taken from what has arrived, as the console gets to them.

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "links.h"
#include "options.h"
#include "outputshaper.h"

namespace sim {

class Router;

class Session : public QObject {
 public:
  Session(Router& router, std::unique_ptr<Link> link, QObject* parent = nullptr);
  ~Session() override;

  void start();
  std::function<void()> onEnded;  // the connection is gone

 private:
  enum class State { User, Password, Shell, Done };

  void feed(const QByteArray& bytes);
  void takeByte(char ch);
  void pump();
  void handle(const std::string& line);
  void loginLine(const std::string& line);
  void passwordLine(const std::string& line);
  void shellLine(const std::string& line);
  void enterShell();
  void end(bool evenWhenHanging);
  void say(const std::string& sjis);
  void drain();
  bool has(Fault f) const { return faults_.count(f) > 0; }

  Router& router_;
  std::unique_ptr<Link> link_;
  std::set<Fault> faults_;
  Timing timing_;
  OutputShaper shaper_;

  State state_ = State::User;
  std::string user_;  // the name the password is asked for
  int failures_ = 0;
  bool cutDone_ = false;
  bool answering_ = false;  // fault slow: a line waits for its answer

  // Input: telnet commands are dropped, lines end at CR, LF or CR LF.
  enum class Telnet { Data, Iac, Option, Sub, SubIac };
  Telnet telnet_ = Telnet::Data;
  bool lastWasCr_ = false;
  std::string partial_;
  std::deque<std::string> lines_;

  // Output waiting for its turn (pauses of split, drip).
  std::deque<Piece> queue_;
  QTimer pacer_;
  bool closeQueued_ = false;
  bool closing_ = false;
  bool ended_ = false;
};

}  // namespace sim
