#pragma once
// Cuts one exchange's byte stream into whole answers for the parser.
//
// Bytes arrive in arbitrary pieces. The assembler removes NUL bytes and
// telnet option negotiation (IAC sequences), collecting the refusals to send
// back (WONT for every DO, DONT for every WILL), and holds text back until
// the prompt line that ends an answer has arrived (a line containing "% "
// followed by its LF), or until the connection closes.
//
// The answers depend only on the byte stream, never on how it was cut into
// pieces: an answer ends right after the LF of a prompt line, taking the
// byte after that LF along when it is CR (so the next byte must be known
// first). If more than kHoldLimit bytes gather without a prompt line, the
// text up to the last LF within the first kHoldLimit bytes (or exactly
// kHoldLimit bytes when there is no LF) is let go as an answer of its own.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

class AnswerAssembler {
 public:
  static constexpr std::size_t kHoldLimit = 64 * 1024;

  // Feeds received bytes. Complete answers are appended to `answers`;
  // telnet refusals to send back are appended to `replies`.
  void feed(std::string_view bytes, std::vector<std::string>& answers, std::string& replies);
  // The connection has closed: whatever is held back is the last answer
  // (appended when not empty). The assembler is then ready for a new stream.
  void finish(std::vector<std::string>& answers);

  // Bytes of text held back, waiting for the end of their answer.
  std::size_t pending() const { return pending_.size(); }
  // Some text was let go without its prompt line, for want of one within
  // kHoldLimit bytes: the router's output cannot be read as answers.
  bool overflowed() const { return overflowed_; }

  // The answer holds a console prompt line: the console took the login.
  static bool holdsPrompt(std::string_view answer);

 private:
  enum class Telnet { Data, Iac, Option, Sub, SubIac };
  void telnetByte(unsigned char b, std::string& replies);
  void cutAnswers(std::vector<std::string>& answers);
  void release(std::size_t end, bool afterPlainLine, std::vector<std::string>& answers);

  Telnet telnet_ = Telnet::Data;
  unsigned char verb_ = 0;
  std::string pending_;                       // text not yet part of a complete answer
  std::size_t lineStart_ = 0;                 // start of the first line not yet known to be plain text
  std::size_t searched_ = 0;                  // pending_ holds no LF in [lineStart_, searched_)
  std::size_t promptLf_ = std::string::npos;  // LF ending the first prompt line, if seen
  bool overflowed_ = false;
};

}  // namespace tarvik
