#include "adapters/qtsound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace tarvik {

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::play(const std::string& utf8Path) {
  if (utf8Path.empty()) return;
  const QFileInfo file(QString::fromStdString(utf8Path));
  // The sound still playing stops even when the new one cannot play: the
  // newest request is the one the user should hear, or silence. Every
  // request gets a fresh effect that loads its file on its own.
  effect_.reset();
  currentFile_ = file.absoluteFilePath();
  if (!file.isFile()) return;
  effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl::fromLocalFile(currentFile_));
  effect_->play();  // starts once loaded; a file that fails to load stays silent
}

}  // namespace tarvik
