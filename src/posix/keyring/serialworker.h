#pragma once
// Jobs run one after another, in the order given, on a thread of their own;
// each job's answer is handed back through `post` to the owner's thread.
//
// The worker's end never waits for the job in progress: a keyring prompt
// can hold a job for as long as the user leaves it open, and the program
// must still end at once (SIGTERM, logout). That job's answer, and the jobs
// not yet started, are dropped; the thread ends by itself once its job
// returns, or with the process.

#include <functional>
#include <memory>

namespace tarvik::app {

class SerialWorker {
 public:
  using Post = std::function<void(std::function<void()>)>;
  // A job runs on the worker thread and returns the answer to run on the
  // owner's thread.
  using Job = std::function<std::function<void()>()>;

  explicit SerialWorker(Post post);
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  void run(Job job);

 private:
  struct Shared;
  static void workLoop(const std::shared_ptr<Shared>& shared);

  std::shared_ptr<Shared> shared_;
};

}  // namespace tarvik::app
