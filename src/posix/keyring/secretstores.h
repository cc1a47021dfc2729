#pragma once
// The platform's secret store for the router password: the keyring module
// (tarvik-keyring.so, libsecret), loaded the first time a store is asked
// for, or none when the module is missing or cannot be loaded.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/ports/secretstore.h"

namespace tarvik::app {

using PostToOwner = std::function<void(std::function<void()>)>;

// The store for the config directory's password; nullptr when there is
// none, with the reason in *problem. With post, answers come back through
// it (see LibsecretStore); without, each request is answered before it
// returns.
std::unique_ptr<SecretStore> makeSecretStore(const std::filesystem::path& configDir, PostToOwner post = {},
                                             std::string* problem = nullptr);

}  // namespace tarvik::app
