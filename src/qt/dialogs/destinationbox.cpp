#include "dialogs/destinationbox.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "windows/fonts.h"

namespace tarvik {

DestinationBox::DestinationBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // typing never adds an entry
  setFont(fixedFontPt(9));               // the entries' columns line up
  setMaxVisibleItems(kEntries);
  QStringList empty;
  for (int i = 0; i < kEntries; ++i) empty << QString();
  setEntries(empty, 0);
  connect(this, &QComboBox::editTextChanged, this,
          [this](const QString& text) { emit destinationChanged(indexForText(text)); });
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

int DestinationBox::indexForText(const QString& text) const {
  for (int i = 0; i < count() && i < kEntries; ++i) {
    if (itemText(i) == text) return i;
  }
  return kNoMatch;
}

}  // namespace tarvik
