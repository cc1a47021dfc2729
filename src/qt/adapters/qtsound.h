#pragma once
// The core's Sound port on QSoundEffect (WAV files). Playing never blocks:
// the file is loaded and played in the background. A new sound cuts off
// the one still playing; an empty name plays nothing; a file that is
// missing or cannot be decoded plays nothing and reports nothing.

#include <QObject>
#include <QString>
#include <memory>

#include "ports/sound.h"

class QSoundEffect;

namespace tarvik {

class QtSound : public Sound {
 public:
  QtSound();
  ~QtSound() override;

  void play(const std::string& utf8Path) override;

  // The file of the sound last asked for (empty before any): for tests and
  // diagnostics.
  QString currentFile() const { return currentFile_; }
  const QSoundEffect* effect() const { return effect_.get(); }

 private:
  std::unique_ptr<QSoundEffect> effect_;
  QString currentFile_;
};

}  // namespace tarvik
