#include "qt/dialogs/destinationbox.h"

#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include "qt/windows/fonts.h"

namespace tarvik {

DestinationBox::DestinationBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // typing never adds an entry
  setFont(fixedFontPt(9));               // the entries' columns line up
  setMaxVisibleItems(kEntries);
  // A completer with nothing to offer: typing is never completed, and its
  // case sensitivity makes the box itself match typed text only exactly
  // when the typing ends (the box's own match would ignore case and put
  // the entry's text in place of what was typed).
  auto* noCompletion = new QCompleter(new QStringListModel(this), this);
  noCompletion->setCaseSensitivity(Qt::CaseSensitive);
  noCompletion->setCompletionMode(QCompleter::InlineCompletion);
  setCompleter(noCompletion);

  QStringList empty;
  for (int i = 0; i < kEntries; ++i) empty << QString();
  setEntries(empty, 0);
  connect(this, &QComboBox::activated, this, [this] { emit destinationChosen(); });
  connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { emit destinationChosen(); });
}

void DestinationBox::setEntries(const QStringList& entries, int index) {
  const QSignalBlocker block(this);
  clear();
  for (int i = 0; i < kEntries; ++i) addItem(i < entries.size() ? entries[i] : QString());
  showIndex(index);
}

void DestinationBox::showIndex(int index) {
  const QSignalBlocker block(this);
  if (index >= 0 && index < count()) {
    setCurrentIndex(index);
    setEditText(itemText(index));
  } else {
    setCurrentIndex(-1);
    setEditText(QString());
  }
  // Show the start of a long entry (its number), not its end.
  if (QLineEdit* edit = lineEdit()) edit->setCursorPosition(0);
}

}  // namespace tarvik
