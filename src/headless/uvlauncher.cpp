#include "headless/uvlauncher.h"

#include <csignal>
#include <cstdint>

#include "app/commandline.h"

namespace tarvik::app {

struct UvLauncher::Child {
  uv_process_t process;
  uv_timer_t killTimer;
  UvLauncher* owner;  // null once the launcher has let go of it
  ProcessHandle handle;
  int closing = 0;  // handles still to be closed before it is freed
};

namespace {

void closeChild(UvLauncher::Child* child) {
  // Two handles, one record: freed when the second has been closed.
  child->closing = 2;
  auto onClosed = [](uv_handle_t* h) {
    auto* c = static_cast<UvLauncher::Child*>(h->data);
    if (--c->closing == 0) delete c;
  };
  child->process.data = child;
  child->killTimer.data = child;
  uv_close(reinterpret_cast<uv_handle_t*>(&child->process), onClosed);
  uv_close(reinterpret_cast<uv_handle_t*>(&child->killTimer), onClosed);
}

}  // namespace

UvLauncher::UvLauncher(EventLoop& loop, int killAfterMs) : loop_(loop), killAfterMs_(killAfterMs) {}

UvLauncher::~UvLauncher() {
  // Closing a process handle leaves the process running; only the
  // records go.
  for (auto& [handle, child] : children_) {
    child->owner = nullptr;
    closeChild(child);
  }
}

ProcessHandle UvLauncher::start(const std::string& commandLine) {
  return startProgram(splitProgramLine(commandLine, isExecutableProgram));
}

ProcessHandle UvLauncher::startProgram(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) return kNoProcess;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  uv_stdio_container_t stdio[3];
  stdio[0].flags = UV_IGNORE;  // the null device
  stdio[1].flags = UV_INHERIT_FD;
  stdio[1].data.fd = 1;
  stdio[2].flags = UV_INHERIT_FD;
  stdio[2].data.fd = 2;

  uv_process_options_t options{};
  options.file = args[0];
  options.args = args.data();
  options.stdio_count = 3;
  options.stdio = stdio;
  options.exit_cb = [](uv_process_t* p, int64_t, int) {
    auto* c = static_cast<Child*>(p->data);
    if (c->owner) c->owner->exited(c);
  };

  auto* child = new Child{};
  child->owner = this;
  child->process.data = child;
  uv_timer_init(loop_.uv(), &child->killTimer);
  child->killTimer.data = child;
  // The exec's outcome comes back before uv_spawn returns: a program that
  // cannot be found or run is known here.
  if (uv_spawn(loop_.uv(), &child->process, &options) != 0) {
    child->owner = nullptr;
    closeChild(child);
    return kNoProcess;
  }
  const ProcessHandle handle = next_++;
  child->handle = handle;
  children_.emplace(handle, child);
  return handle;
}

void UvLauncher::exited(Child* child) {
  // Reaped: from here on its process id may belong to another program.
  children_.erase(child->handle);
  child->owner = nullptr;
  uv_timer_stop(&child->killTimer);
  closeChild(child);
}

void UvLauncher::end(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end()) return;  // never ours, or already ended
  Child* child = it->second;
  uv_process_kill(&child->process, SIGTERM);
  if (uv_is_active(reinterpret_cast<uv_handle_t*>(&child->killTimer))) return;
  uv_timer_start(
      &child->killTimer,
      [](uv_timer_t* t) {
        auto* c = static_cast<Child*>(t->data);
        // Still not reaped, so the id is still this child's.
        if (c->owner) uv_process_kill(&c->process, SIGKILL);
      },
      static_cast<std::uint64_t>(killAfterMs_), 0);
}

bool UvLauncher::isRunning(ProcessHandle process) const { return children_.count(process) != 0; }

int UvLauncher::pid(ProcessHandle process) const {
  auto it = children_.find(process);
  return it == children_.end() ? 0 : it->second->process.pid;
}

}  // namespace tarvik::app
