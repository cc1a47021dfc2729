// SingleInstance: one holder per runtime directory, whatever the config
// directory; the lock goes with the process (also a crashed one); the lock
// file is the user's alone, and the fallback folder is private.
#include "app/singleinstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace tarvik::app {
namespace {
namespace fs = std::filesystem;

struct Dir {
  Dir() {
    std::string t = (fs::temp_directory_path() / "tarvik-lock-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Dir() { fs::remove_all(path); }
  fs::path path;
};

// Runs body in a child process and returns its exit code.
template <typename F>
int inChild(F body) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(SingleInstanceTest, OneHolderPerRuntimeDirectory) {
  Dir runtime, other;
  ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
  {
    SingleInstance first;
    ASSERT_TRUE(first.acquired()) << first.problem();
    EXPECT_TRUE(fs::exists(runtime.path / "Tarvik.lock"));
    EXPECT_EQ(fs::status(runtime.path / "Tarvik.lock").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // Another process of the same session (another --config-dir changes
    // nothing: the lock does not depend on it) finds it taken.
    EXPECT_EQ(inChild([] { return SingleInstance().acquired() ? 1 : 0; }), 0);
    // Another session (its own runtime directory) runs.
    EXPECT_EQ(inChild([&] {
                ::setenv("XDG_RUNTIME_DIR", other.path.c_str(), 1);
                return SingleInstance().acquired() ? 1 : 0;
              }),
              1);
  }
  // Released with its holder.
  EXPECT_EQ(inChild([] { return SingleInstance().acquired() ? 1 : 0; }), 1);
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstanceTest, LockOfACrashedRunIsFree) {
  Dir runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t pid = ::fork();
  if (pid == 0) {
    SingleInstance held;
    char b = held.acquired() ? 'y' : 'n';
    [[maybe_unused]] ssize_t n = ::write(ready[1], &b, 1);
    ::pause();
    ::_exit(0);
  }
  char b = 0;
  ASSERT_EQ(::read(ready[0], &b, 1), 1);
  ASSERT_EQ(b, 'y');
  EXPECT_FALSE(SingleInstance().acquired());
  ::kill(pid, SIGKILL);  // a crash: nothing of its own runs at the end
  ::waitpid(pid, nullptr, 0);
  EXPECT_TRUE(SingleInstance().acquired());
  ::close(ready[0]);
  ::close(ready[1]);
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstanceTest, WithoutARuntimeDirectoryAPrivateFolderIsUsed) {
  ::unsetenv("XDG_RUNTIME_DIR");
  std::string problem;
  const fs::path dir = SingleInstance::runtimeDir(&problem);
  ASSERT_FALSE(dir.empty()) << problem;
  EXPECT_EQ(dir, fs::path("/tmp/tarvik-" + std::to_string(::getuid())));
  struct stat st{};
  ASSERT_EQ(::lstat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(st.st_uid, ::getuid());
  // A relative XDG_RUNTIME_DIR is not taken.
  ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
  EXPECT_EQ(SingleInstance::runtimeDir(), dir);
  ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstanceTest, AFallbackFolderOthersMayWriteIsRefused) {
  ::unsetenv("XDG_RUNTIME_DIR");
  const fs::path dir = SingleInstance::runtimeDir();
  ASSERT_FALSE(dir.empty());
  ::chmod(dir.c_str(), 0777);
  std::string problem;
  const fs::path refused = SingleInstance::runtimeDir(&problem);
  ::chmod(dir.c_str(), 0700);
  EXPECT_TRUE(refused.empty());
  EXPECT_NE(problem.find(dir.string()), std::string::npos) << problem;
}

}  // namespace
}  // namespace tarvik::app
