#pragma once
// A fresh folder per test, removed afterwards, and small file helpers.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tarvik::testing {

class TestDir {
 public:
  TestDir() {
#ifdef _WIN32
    // The test's name and a count keep parallel programs and folders apart.
    static int count = 0;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            (std::string("tarvik-settings-") + (test ? test->name() : "suite") + "-" + std::to_string(++count));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
#else
    std::string pattern = (std::filesystem::path(::testing::TempDir()) / "tarvik-settings-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    // Readable by others, so that a test running as an unprivileged user
    // (see Unprivileged) can still read what lies inside.
    ::chmod(path_.c_str(), 0755);
#endif
  }
  ~TestDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

#ifndef _WIN32
// Permission checks do not apply to root; a test that needs a refused write
// runs its body as the "nobody" user when the suite runs as root.
class Unprivileged {
 public:
  Unprivileged() : wasRoot_(::geteuid() == 0) {
    if (wasRoot_ && ::seteuid(65534) != 0) ADD_FAILURE() << "cannot drop privileges";
  }
  ~Unprivileged() {
    if (wasRoot_ && ::seteuid(0) != 0) std::abort();
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

 private:
  bool wasRoot_;
};
#endif

}  // namespace tarvik::testing
