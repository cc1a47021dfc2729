#pragma once
// Cuts one exchange's byte stream into whole answers for the parser.
//
// Bytes arrive in arbitrary pieces. The assembler removes NUL bytes and
// telnet option negotiation (IAC sequences), collecting the refusals to send
// back (WONT for every DO, DONT for every WILL), and holds text back until
// the prompt line that ends an answer has arrived (a line containing "% "
// followed by its LF), or until the connection closes.

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

class AnswerAssembler {
 public:
  // Feeds received bytes. Complete answers are appended to `answers`;
  // telnet refusals to send back are appended to `replies`.
  void feed(std::string_view bytes, std::vector<std::string>& answers, std::string& replies);
  // The connection has closed: whatever is held back is the last answer
  // (appended when not empty).
  void finish(std::vector<std::string>& answers);

 private:
  enum class Telnet { Data, Iac, Option, Sub, SubIac };
  Telnet telnet_ = Telnet::Data;
  unsigned char verb_ = 0;
  std::string pending_;        // text not yet part of a complete answer
  std::size_t scanned_ = 0;    // bytes of pending_ already searched for a prompt line
};

}  // namespace tarvik
