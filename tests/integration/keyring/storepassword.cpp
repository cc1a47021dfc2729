// Puts a router password into the secret store for a config directory, as
// the settings dialog's keyring box does: set-up for the headless tests.
// Usage: keyring-store-password CONFIG_DIR PASSWORD
#include <cstdio>

#include "engine/base/sjis.h"
#include "posix/keyring/secretstores.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: keyring-store-password CONFIG_DIR PASSWORD\n", stderr);
    return 2;
  }
  auto store = tarvik::app::makeSecretStore(argv[1]);
  if (!store) {
    std::fputs("no secret store in this build\n", stderr);
    return 77;
  }
  int code = 1;
  store->store(tarvik::toSjis(argv[2]), [&](const tarvik::SecretReply& reply) {
    if (reply.status == tarvik::SecretReply::Status::kOk) {
      code = 0;
    } else {
      std::fprintf(stderr, "cannot store the password: %s\n", reply.detail.c_str());
    }
  });
  return code;
}
