#include "qt/windows/programfiles.h"

#include <QDir>
#include <QFileInfo>

#include "posix/programdata.h"

namespace tarvik {

QStringList programFileCandidates(const QString& relativePath) {
  QStringList out;
  for (const std::filesystem::path& dataDir : app::programDataDirectories()) {
    out << QDir::cleanPath(QDir(QString::fromStdString(dataDir.string())).filePath(relativePath));
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
