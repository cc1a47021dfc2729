#pragma once
// A destination box: an editable list of the router's sixteen destination
// entries. Its index is the position (0 to 15) of the first entry whose text
// equals the box's text exactly (case included), or 16 when none does.
// Typing never completes an entry.

#include <QComboBox>
#include <QStringList>

namespace tarvik {

class DestinationBox : public QComboBox {
  Q_OBJECT
 public:
  static constexpr int kEntries = 16;
  static constexpr int kNoMatch = 16;

  explicit DestinationBox(QWidget* parent = nullptr);

  // Puts the entries in and shows the one at index; no change is reported.
  void setEntries(const QStringList& entries, int index);
  // Shows the entry at index (16: an empty text); no change is reported.
  void showIndex(int index);
  int indexForText(const QString& text) const;

 signals:
  // The text changed, by typing or by choosing: the new index.
  void destinationChanged(int index);
  // The user chose an entry from the list, or finished typing (Enter, or
  // the focus left the box): the index of the text then shown.
  void destinationChosen(int index);
};

}  // namespace tarvik
