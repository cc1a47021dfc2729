#include <windows.h>

#include "app/commandline.h"
#include "win32/widetext.h"

namespace tarvik {
namespace {

// Unquoted words up to the first blank or quote, with their blanks as typed.
std::vector<std::string> plainLeadingWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = line.find_first_not_of(" \t");
  while (i != std::string_view::npos && i < line.size()) {
    std::size_t end = line.find_first_of(" \t", i);
    std::string_view word = line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    if (word.find('"') != std::string_view::npos) break;
    words.emplace_back(word);
    if (end == std::string_view::npos) break;
    i = line.find_first_not_of(" \t", end);
  }
  return words;
}

}  // namespace

// The rules the C runtime of Windows programs reads its command line by
// (backslashes are literal unless a run of them stands before a quote), so
// the words listed here are the ones the started program sees.
std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) args.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (c == '\\') {
      std::size_t run = 0;
      while (i < line.size() && line[i] == '\\') ++run, ++i;
      if (i < line.size() && line[i] == '"') {
        word.append(run / 2, '\\');
        if (run % 2 == 1) {
          word += '"';
          ++i;
        }
        // An even run leaves the quote to the branch below.
      } else {
        word.append(run, '\\');
      }
    } else if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        word += '"';  // "" inside quotes is one literal quote
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      word += c;
      ++i;
    }
  }
  if (inWord) args.push_back(std::move(word));
  return args;
}


// As CreateProcessW reads an unquoted program path with blanks: the
// shortest leading run of words that names a program is the program.
std::vector<std::string> splitProgramLine(std::string_view commandLine, const ExecutableTest& isExecutable) {
  std::vector<std::string> argv = splitCommandLine(commandLine);
  if (argv.size() < 2) return argv;
  const std::vector<std::string> plain = plainLeadingWords(commandLine);
  std::string run;
  for (std::size_t n = 1; n <= plain.size() && n < argv.size() + 1; ++n) {
    run += (n > 1 ? " " : "") + plain[n - 1];
    if (!isExecutable(run)) continue;
    if (n == 1) return argv;
    std::vector<std::string> joined{run};
    joined.insert(joined.end(), argv.begin() + static_cast<std::ptrdiff_t>(n), argv.end());
    return joined;
  }
  return argv;
}

// The system's search: the name as given, then with ".exe", in the program's
// folder, the current folder, the system folders and PATH.
bool isExecutableProgram(const std::string& name) {
  const std::wstring wide = win32::widen(name);
  wchar_t found[MAX_PATH];
  return ::SearchPathW(nullptr, wide.c_str(), L".exe", MAX_PATH, found, nullptr) > 0;
}

}  // namespace tarvik
