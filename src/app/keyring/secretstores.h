#pragma once
// The platform's secret store for the router password, or none when the
// program was built without one.

#include <filesystem>
#include <functional>
#include <memory>

#include "ports/secretstore.h"

namespace tarvik::app {

using PostToOwner = std::function<void(std::function<void()>)>;

// The store for the config directory's password; nullptr when this build
// has none. With post, answers come back through it (see LibsecretStore);
// without, each request is answered before it returns.
std::unique_ptr<SecretStore> makeSecretStore(const std::filesystem::path& configDir, PostToOwner post = {});

}  // namespace tarvik::app
