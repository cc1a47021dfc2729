#pragma once
// Files that come with the program: the about-box picture "Tarvik.bmp" and
// the manual "manual/manual.html". They are looked up beside the program
// first, then where the program is installed, and only last in the current
// directory, so that starting the program from elsewhere finds them.

#include <QString>
#include <QStringList>

namespace tarvik {

// Every place looked at, in order, for a path relative to the program.
QStringList programFileCandidates(const QString& relativePath);

// The first candidate that exists as a file, or an empty string.
QString findProgramFile(const QString& relativePath);

inline QString aboutPictureName() { return QStringLiteral("Tarvik.bmp"); }
inline QString manualName() { return QStringLiteral("manual/manual.html"); }

}  // namespace tarvik
