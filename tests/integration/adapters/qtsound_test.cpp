// QtSound: an empty name plays nothing, a missing file plays nothing and
// fails nothing, a new sound replaces the one before.

#include "adapters/qtsound.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

namespace tarvik {
namespace {

// A short 8 kHz mono 16-bit PCM WAV file of silence.
void writeWav(const QString& path) {
  const quint32 samples = 800;
  QByteArray data(static_cast<int>(samples * 2), '\0');
  QByteArray wav;
  auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
  wav.append("RIFF");
  u32(36 + static_cast<quint32>(data.size()));
  wav.append("WAVEfmt ");
  u32(16);
  u16(1);      // PCM
  u16(1);      // mono
  u32(8000);   // sample rate
  u32(16000);  // byte rate
  u16(2);      // block align
  u16(16);     // bits per sample
  wav.append("data");
  u32(static_cast<quint32>(data.size()));
  wav.append(data);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(wav);
}

class QtSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    first = dir.filePath(QStringLiteral("接続.wav"));
    second = dir.filePath(QStringLiteral("完了.wav"));
    writeWav(first);
    writeWav(second);
  }
  QTemporaryDir dir;
  QString first, second;
  QtSound sound;
};

TEST_F(QtSoundTest, EmptyNamePlaysNothing) {
  sound.play("");
  EXPECT_EQ(sound.effect(), nullptr);
  EXPECT_TRUE(sound.currentFile().isEmpty());
}

TEST_F(QtSoundTest, EmptyNameLeavesThePlayingSoundAlone) {
  sound.play(first.toStdString());
  sound.play("");
  ASSERT_NE(sound.effect(), nullptr);
  EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(first));
}

TEST_F(QtSoundTest, FilePlaysFromItsPath) {
  sound.play(first.toStdString());
  ASSERT_NE(sound.effect(), nullptr);
  EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(first));
  // Loading goes on in the background; it ends one way or the other
  // (a machine without a sound device may refuse to play).
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        auto s = sound.effect()->status();
        return s == QSoundEffect::Ready || s == QSoundEffect::Error;
      },
      5000));
}

TEST_F(QtSoundTest, NewSoundReplacesTheOneBefore) {
  sound.play(first.toStdString());
  sound.play(second.toStdString());
  ASSERT_NE(sound.effect(), nullptr);
  EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(second));
}

TEST_F(QtSoundTest, MissingFileStopsTheOldSoundAndPlaysNothing) {
  sound.play(first.toStdString());
  const QString missing = dir.filePath(QStringLiteral("wav/none.wav"));
  sound.play(missing.toStdString());
  EXPECT_EQ(sound.effect(), nullptr);
  EXPECT_EQ(sound.currentFile(), missing);
}

TEST_F(QtSoundTest, RelativeNameIsTakenFromTheCurrentDirectory) {
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  sound.play("接続.wav");
  QDir::setCurrent(saved);
  ASSERT_NE(sound.effect(), nullptr);
  EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(first));
}

}  // namespace
}  // namespace tarvik
