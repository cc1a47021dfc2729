#include "engine/net/answerassembler.h"

#include <algorithm>

namespace tarvik {
namespace {

// Telnet command bytes (RFC 854).
constexpr unsigned char kIac = 255;
constexpr unsigned char kDont = 254;
constexpr unsigned char kDo = 253;
constexpr unsigned char kWont = 252;
constexpr unsigned char kWill = 251;
constexpr unsigned char kSb = 250;
constexpr unsigned char kSe = 240;

constexpr std::string_view kPromptMark = "% ";

}  // namespace

void AnswerAssembler::feed(std::string_view bytes, std::vector<std::string>& answers, std::string& replies) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (telnet_ == Telnet::Data) {
      // Copy the run of plain text up to the next NUL or IAC in one go.
      std::size_t j = i;
      while (j < bytes.size() && bytes[j] != '\0' && static_cast<unsigned char>(bytes[j]) != kIac) ++j;
      pending_.append(bytes.data() + i, j - i);
      i = j;
      if (i == bytes.size()) break;
    }
    telnetByte(static_cast<unsigned char>(bytes[i]), replies);
    ++i;
  }
  cutAnswers(answers);
}

void AnswerAssembler::telnetByte(unsigned char b, std::string& replies) {
  switch (telnet_) {
    case Telnet::Data:
      if (b == kIac) telnet_ = Telnet::Iac;
      // A NUL carries nothing (telnet sends CR NUL for a bare CR): dropped.
      else if (b != 0)
        pending_.push_back(static_cast<char>(b));
      break;
    case Telnet::Iac:
      if (b == kIac) {
        pending_.push_back(static_cast<char>(kIac));  // escaped data byte 0xFF
        telnet_ = Telnet::Data;
      } else if (b >= kWill && b <= kDont) {
        verb_ = b;
        telnet_ = Telnet::Option;
      } else if (b == kSb) {
        telnet_ = Telnet::Sub;
      } else {
        telnet_ = Telnet::Data;  // NOP, GA, AYT ...: no text, no answer
      }
      break;
    case Telnet::Option:
      // We take on no option: refuse what the router offers or asks for.
      // WONT and DONT need no answer.
      if (verb_ == kDo) replies += {static_cast<char>(kIac), static_cast<char>(kWont), static_cast<char>(b)};
      if (verb_ == kWill)
        replies += {static_cast<char>(kIac), static_cast<char>(kDont), static_cast<char>(b)};
      telnet_ = Telnet::Data;
      break;
    case Telnet::Sub:
      if (b == kIac) telnet_ = Telnet::SubIac;
      break;
    case Telnet::SubIac:
      if (b == kIac) {
        telnet_ = Telnet::Sub;  // escaped 0xFF inside the subnegotiation
      } else if (b == kSe) {
        telnet_ = Telnet::Data;
      } else {
        // A command inside a subnegotiation that was never closed: end the
        // subnegotiation and take the command as it stands, so that a
        // broken sequence cannot swallow the rest of the output.
        telnet_ = Telnet::Iac;
        telnetByte(b, replies);
      }
      break;
  }
}

void AnswerAssembler::cutAnswers(std::vector<std::string>& answers) {
  for (;;) {
    // Look for the first prompt line, checking every complete line once.
    while (promptLf_ == std::string::npos) {
      std::size_t lf = pending_.find('\n', searched_);
      if (lf == std::string::npos) {
        searched_ = pending_.size();
        break;
      }
      std::string_view line(pending_.data() + lineStart_, lf - lineStart_);
      if (line.find(kPromptMark) != std::string_view::npos) {
        promptLf_ = lf;
      } else {
        lineStart_ = lf + 1;
        searched_ = lf + 1;
      }
    }

    // The prompt line ends the answer once the byte after its LF is known,
    // so that the CR that follows the LF stays with its line.
    if (promptLf_ != std::string::npos && promptLf_ < kHoldLimit && promptLf_ + 1 < pending_.size()) {
      std::size_t end = promptLf_ + 1;
      if (pending_[end] == '\r') ++end;
      release(end, false, answers);
      continue;
    }

    // Too much text without a prompt: let the complete lines go. The cut
    // is chosen from the first kHoldLimit + 1 bytes only, so it does not
    // depend on how much more arrived in the same piece.
    if (pending_.size() > kHoldLimit) {
      std::size_t lastLf = pending_.rfind('\n', kHoldLimit - 1);
      std::size_t end = kHoldLimit;
      if (lastLf != std::string::npos) {
        end = lastLf + 1;
        if (pending_[end] == '\r') ++end;
      }
      overflowed_ = true;
      release(end, lastLf != std::string::npos, answers);
      continue;
    }
    break;
  }
}

void AnswerAssembler::release(std::size_t end, bool afterPlainLine, std::vector<std::string>& answers) {
  answers.emplace_back(pending_, 0, end);
  pending_.erase(0, end);
  if (afterPlainLine) {
    // Cut after complete lines that are not prompts: what was searched
    // stays searched (a leading CR left out of the line changes nothing).
    if (promptLf_ != std::string::npos) promptLf_ -= end;
    lineStart_ = std::max(lineStart_, end) - end;
    searched_ = std::max(searched_, end) - end;
  } else {
    // After a prompt answer nothing has been searched yet; after a cut
    // inside a line, that line starts afresh at the cut.
    promptLf_ = std::string::npos;
    lineStart_ = 0;
    searched_ = 0;
  }
}

bool AnswerAssembler::holdsPrompt(std::string_view answer) {
  return answer.find(kPromptMark) != std::string_view::npos;
}

void AnswerAssembler::finish(std::vector<std::string>& answers) {
  if (!pending_.empty()) answers.push_back(std::move(pending_));
  pending_.clear();
  telnet_ = Telnet::Data;
  verb_ = 0;
  lineStart_ = 0;
  searched_ = 0;
  promptLf_ = std::string::npos;
  overflowed_ = false;
}

}  // namespace tarvik
