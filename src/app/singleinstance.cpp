#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace tarvik::app {
namespace {

std::unique_ptr<QLockFile> tryLock(const QString& path, bool& acquired) {
  auto lock = std::make_unique<QLockFile>(path);
  // Never treat a live lock as stale by its age: only a dead owner frees it.
  lock->setStaleLockTime(0);
  acquired = lock->tryLock(0);
  // Like every file the program keeps, the lock is its owner's alone.
  if (acquired) QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return lock;
}

}  // namespace

SingleInstance::SingleInstance(const QString& configDir) {
  QDir dir(configDir);
  lock_ = tryLock(dir.filePath(QStringLiteral("Tarvik.lock")), acquired_);
  if (acquired_ || lock_->error() == QLockFile::LockFailedError) return;
  // The config directory is read-only (or gone): lock in the runtime
  // directory, under a name that still tells config directories apart.
  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  QByteArray id = QCryptographicHash::hash(dir.absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  lock_ = tryLock(QDir(runtime).filePath(QStringLiteral("Tarvik-%1.lock").arg(QString::fromLatin1(id))), acquired_);
  // No place to hold a lock at all: running unguarded beats never starting.
  if (!acquired_ && lock_->error() != QLockFile::LockFailedError) acquired_ = true;
}

}  // namespace tarvik::app
