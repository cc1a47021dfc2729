#pragma once
// A destination box: an editable list of the router's sixteen destination
// entries. Typing never completes an entry; which entry the typed text
// names is the settings form's rule (desktop/settingsform.h).

#include <QComboBox>
#include <QStringList>

namespace tarvik {

class DestinationBox : public QComboBox {
  Q_OBJECT
 public:
  static constexpr int kEntries = 16;

  explicit DestinationBox(QWidget* parent = nullptr);

  // Puts the entries in and shows the one at index; no change is reported.
  void setEntries(const QStringList& entries, int index);
  // Shows the entry at index (16: an empty text); no change is reported.
  void showIndex(int index);

 signals:
  // The user chose an entry from the list, or finished typing (Enter, or
  // the focus left the box). Each change of the text itself is
  // QComboBox::editTextChanged.
  void destinationChosen();
};

}  // namespace tarvik
