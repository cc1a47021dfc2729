#pragma once
// Redial after a busy line, alternating with a second destination.
//
// The busy reaction counts RedialsLeft down and requests a redial; the next
// poll tick with B1 free takes the request and runs the dial routine, which
// asks choose() whether this dial goes to the alternate destination and what
// progress text the status line carries.

#include <string>
#include <string_view>

namespace tarvik {

struct RedialChoice {
  bool UseAlternate = false;
  std::string RedialProgress;  // "(3/4)", or empty outside a sequence
};

class Redial {
 public:
  // The redial count as stored ([RD] "0"). False when the text is not a
  // decimal integer; count is then 0. A negative count counts as 0.
  static bool parseCount(std::string_view countText, int& count);

  // Start of a sequence: at start-up and at every disconnect all. A count that
  // does not convert arms nothing (RedialsLeft 0).
  void arm(std::string_view countText);

  // Step 1 of the dial routine. Odd RedialsLeft dials the alternate, except on
  // the first dial of a sequence (RedialsLeft equal to the count). A count
  // that does not convert is shown verbatim and only the parity decides.
  RedialChoice choose(std::string_view countText) const;

  // Busy line seen in a poll's output: one redial fewer, and a request.
  void busy();

  // The tick's redial step: true (and the request consumed) when a redial is
  // requested and the line is free.
  bool takeRequest(bool lineFree);

  int RedialsLeft = 0;
  bool RedialRequested = false;
};

}  // namespace tarvik
