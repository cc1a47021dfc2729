#include "keyring/secretstores.h"

#include <system_error>

#ifdef TARVIK_HAVE_LIBSECRET
#include "keyring/libsecretstore.h"
#endif

namespace tarvik::app {

std::unique_ptr<SecretStore> makeSecretStore(const std::filesystem::path& configDir, PostToOwner post) {
#ifdef TARVIK_HAVE_LIBSECRET
  // One entry per config directory, however the directory was named.
  std::error_code error;
  std::filesystem::path account = std::filesystem::weakly_canonical(configDir, error);
  if (error) account = std::filesystem::absolute(configDir, error);
  return std::make_unique<LibsecretStore>(account.string(), std::move(post));
#else
  (void)configDir;
  (void)post;
  return nullptr;
#endif
}

}  // namespace tarvik::app
