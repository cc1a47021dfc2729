#include "dialogs/namelist.h"

namespace tarvik {
namespace {

// Blanks are the control characters and the space, as in the settings
// files; a full-width space is part of the text.
bool isBlank(QChar c) { return c.unicode() <= 0x20; }

QString trimBlanks(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

}  // namespace

NameEntryResult makeNameEntry(const QString& number, const QString& name) {
  NameEntryResult r{NameEntryResult::Empty, trimBlanks(number), trimBlanks(name), {}};
  if (r.number.contains(QLatin1Char('-'))) {
    r.outcome = NameEntryResult::RefusedDash;
  } else if (!r.number.isEmpty() && !r.name.isEmpty()) {
    r.outcome = NameEntryResult::Added;
    r.entry = r.number + QLatin1Char(':') + r.name;
  }
  return r;
}

}  // namespace tarvik
