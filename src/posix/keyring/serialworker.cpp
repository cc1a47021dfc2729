#include "posix/keyring/serialworker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace tarvik::app {

// Shared by the owner and the thread, so that either may be the last to go.
struct SerialWorker::Shared {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Job> jobs;
  bool alive = true;  // false once the owner has gone
  bool started = false;
  Post post;
};

SerialWorker::SerialWorker(Post post) : shared_(std::make_shared<Shared>()) { shared_->post = std::move(post); }

SerialWorker::~SerialWorker() {
  std::lock_guard lock(shared_->mutex);
  shared_->alive = false;
  shared_->jobs.clear();
  shared_->wake.notify_all();
}

void SerialWorker::run(Job job) {
  std::lock_guard lock(shared_->mutex);
  shared_->jobs.push_back(std::move(job));
  if (!shared_->started) {
    shared_->started = true;
    std::thread([shared = shared_] { workLoop(shared); }).detach();
  }
  shared_->wake.notify_all();
}

void SerialWorker::workLoop(const std::shared_ptr<Shared>& shared) {
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->wake.wait(lock, [&] { return !shared->alive || !shared->jobs.empty(); });
    if (!shared->alive) return;
    Job job = std::move(shared->jobs.front());
    shared->jobs.pop_front();
    lock.unlock();
    std::function<void()> answer = job();
    lock.lock();
    // Posted under the lock: the owner cannot go in between, and nothing
    // reaches it once it has.
    if (shared->alive) shared->post(std::move(answer));
  }
}

}  // namespace tarvik::app
