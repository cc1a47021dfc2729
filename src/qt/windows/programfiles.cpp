#include "windows/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TARVIK_DATA_FROM_BINDIR
#define TARVIK_DATA_FROM_BINDIR "../share/tarvik"
#endif
#ifndef TARVIK_DATA_FROM_LIBEXECDIR
#define TARVIK_DATA_FROM_LIBEXECDIR "../../share/tarvik"
#endif

namespace tarvik {

QStringList programFileCandidates(const QString& relativePath) {
  QStringList out;
  const QString exeDir = QCoreApplication::applicationDirPath();
  if (!exeDir.isEmpty()) {
    out << QDir(exeDir).filePath(relativePath);
    for (const char* dataDir : {TARVIK_DATA_FROM_BINDIR, TARVIK_DATA_FROM_LIBEXECDIR}) {
      out << QDir::cleanPath(QDir(exeDir).filePath(QString::fromUtf8(dataDir) + '/' + relativePath));
    }
  }
  for (const QString& dataDir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
    out << QDir(dataDir).filePath(QStringLiteral("tarvik/") + relativePath);
  }
  out << QDir::current().filePath(relativePath);
  out.removeDuplicates();
  return out;
}

QString findProgramFile(const QString& relativePath) {
  for (const QString& candidate : programFileCandidates(relativePath)) {
    if (QFileInfo(candidate).isFile()) return candidate;
  }
  return {};
}

}  // namespace tarvik
