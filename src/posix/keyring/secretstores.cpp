#include "posix/keyring/secretstores.h"

#include <dlfcn.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "posix/keyring/keyringmodule.h"

namespace tarvik::app {
namespace {

namespace fs = std::filesystem;

fs::path programDir() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : self.parent_path();
}

// Where the module may lie: named by TARVIK_KEYRING_MODULE (the tests),
// beside the program (the build tree, and the desktop program installed in
// libexec/tarvik), or where `tarvik` in bin/ finds libexec/tarvik.
std::vector<fs::path> moduleCandidates() {
  std::vector<fs::path> paths;
  if (const char* named = std::getenv("TARVIK_KEYRING_MODULE"); named && *named) paths.emplace_back(named);
  const fs::path dir = programDir();
  if (!dir.empty()) {
    paths.push_back(dir / TARVIK_KEYRING_MODULE_NAME);
    paths.push_back(dir / TARVIK_KEYRING_FROM_BINDIR / TARVIK_KEYRING_MODULE_NAME);
  }
  return paths;
}

// The module stays loaded for the life of the process: stores it made may
// still have requests running on their threads.
struct LoadedModule {
  TarvikMakeKeyringStore make = nullptr;
  std::string problem;
};

LoadedModule loadModule() {
  LoadedModule loaded;
  loaded.problem = "the keyring module " TARVIK_KEYRING_MODULE_NAME " is not installed";
  for (const fs::path& path : moduleCandidates()) {
    std::error_code error;
    if (!fs::exists(path, error)) continue;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = ::dlerror();
      loaded.problem = "the keyring module cannot be loaded: " + std::string(why ? why : path.string());
      continue;
    }
    void* entry = ::dlsym(handle, kTarvikKeyringEntryPoint);
    if (!entry) {
      loaded.problem = "the keyring module " + path.string() + " has no entry point";
      continue;
    }
    loaded.make = reinterpret_cast<TarvikMakeKeyringStore>(entry);
    loaded.problem.clear();
    return loaded;
  }
  return loaded;
}

}  // namespace

std::unique_ptr<SecretStore> makeSecretStore(const fs::path& configDir, PostToOwner post, std::string* problem) {
  static const LoadedModule module = loadModule();
  if (!module.make) {
    if (problem) *problem = module.problem;
    return nullptr;
  }
  // One entry per config directory, however the directory was named.
  std::error_code error;
  fs::path account = fs::weakly_canonical(configDir, error);
  if (error) account = fs::absolute(configDir, error);
  return std::unique_ptr<SecretStore>(module.make(account.c_str(), &post));
}

}  // namespace tarvik::app
