#include "app/commandline.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace tarvik {
namespace {

struct Word {
  std::string text;
  std::size_t begin = 0;  // where it starts and ends in the line
  std::size_t end = 0;
  bool plain = true;  // no quote or backslash in it: its text is the line's text
};

std::vector<Word> splitWords(std::string_view line) {
  std::vector<Word> words;
  Word word;
  bool inWord = false;
  std::size_t i = 0;
  auto finish = [&](std::size_t end) {
    if (!inWord) return;
    word.end = end;
    words.push_back(std::move(word));
    word = Word{};
    inWord = false;
  };
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t') {
      finish(i);
      ++i;
      continue;
    }
    if (!inWord) word.begin = i;
    inWord = true;
    if (c == '\'') {
      word.plain = false;
      std::size_t close = line.find('\'', i + 1);
      std::size_t end = close == std::string_view::npos ? line.size() : close;
      word.text += line.substr(i + 1, end - i - 1);
      i = close == std::string_view::npos ? line.size() : close + 1;
    } else if (c == '"') {
      word.plain = false;
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\' || line[i + 1] == '$' || line[i + 1] == '`')) {
          ++i;
        }
        word.text += line[i++];
      }
      if (i < line.size()) ++i;  // closing quote
    } else if (c == '\\' && i + 1 < line.size()) {
      word.plain = false;
      word.text += line[i + 1];
      i += 2;
    } else {
      word.text += c;
      ++i;
    }
  }
  finish(line.size());
  return words;
}

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
  std::vector<std::string> args;
  for (Word& w : splitWords(commandLine)) args.push_back(std::move(w.text));
  return args;
}

std::vector<std::string> splitProgramLine(std::string_view commandLine, const ExecutableTest& isExecutable) {
  std::vector<Word> words = splitWords(commandLine);
  std::size_t programWords = 1;
  std::size_t run = 0;
  while (run < words.size() && words[run].plain) ++run;
  // Longest first: "/opt/My Apps/run" wins over a "/opt/My" that happens to exist.
  for (std::size_t n = run; n >= 2; --n) {
    const std::string candidate(commandLine.substr(words[0].begin, words[n - 1].end - words[0].begin));
    if (isExecutable(candidate)) {
      words[0].text = candidate;
      programWords = n;
      break;
    }
  }
  std::vector<std::string> argv;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i == 0 || i >= programWords) argv.push_back(std::move(words[i].text));
  }
  return argv;
}

bool isExecutableProgram(const std::string& name) {
  if (name.empty()) return false;
  if (name.find('/') != std::string::npos) return isExecutableFile(name);
  const char* env = std::getenv("PATH");
  const std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
  std::size_t from = 0;
  while (true) {
    std::size_t colon = path.find(':', from);
    std::string dir = path.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
    if (dir.empty()) dir = ".";  // an empty entry is the current folder
    if (isExecutableFile(dir + "/" + name)) return true;
    if (colon == std::string::npos) return false;
    from = colon + 1;
  }
}

}  // namespace tarvik
