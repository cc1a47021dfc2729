#include "posix/keyring/keyringmodule.h"

#include "posix/keyring/libsecretstore.h"

extern "C" __attribute__((visibility("default"))) tarvik::SecretStore* tarvik_make_keyring_store(
    const char* account, const tarvik::app::PostToOwner* post) {
  return new tarvik::app::LibsecretStore(account, post ? *post : tarvik::app::PostToOwner{});
}

// The entry point has the type the loader expects.
static_assert(std::is_same_v<decltype(&tarvik_make_keyring_store), TarvikMakeKeyringStore>);
