#pragma once
// Only one Tarvik per config directory: a lock file named after the
// program, held until the process ends. The operating system's process
// check makes a lock left behind by a crashed run count as free.

#include <QLockFile>
#include <QString>
#include <memory>

namespace tarvik::app {

class SingleInstance {
 public:
  // Locks "Tarvik.lock" in configDir; where that directory cannot hold the
  // file, in the user's runtime directory instead.
  explicit SingleInstance(const QString& configDir);
  // True when this process holds the lock; false when another instance runs.
  bool acquired() const { return acquired_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  bool acquired_ = false;
};

}  // namespace tarvik::app
