#pragma once
// The rules of the caller-name editor ("追加" on the ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ page):
// both fields lose their leading and trailing blanks; a number with "-" is
// refused with a warning; an empty field adds nothing; otherwise the entry
// number ":" name goes to the end of the list (duplicates allowed).

#include <QString>

namespace tarvik {

struct NameEntryResult {
  enum Outcome { Added, RefusedDash, Empty } outcome;
  QString number;  // the trimmed fields, put back into the dialog
  QString name;
  QString entry;  // number ":" name when Added
};

NameEntryResult makeNameEntry(const QString& number, const QString& name);

inline QString dashWarningText() { return QStringLiteral("数字のみ入力して下さい"); }

}  // namespace tarvik
