#pragma once
// The keyring module (tarvik-keyring.so): the libsecret store built as a
// module of its own, so that libsecret and the GLib it brings are loaded
// only by a program that keeps its password in the keyring. Its one entry
// point makes a LibsecretStore; the caller owns what it returns.

#include "posix/keyring/secretstores.h"

extern "C" {
using TarvikMakeKeyringStore = tarvik::SecretStore* (*)(const char* account, const tarvik::app::PostToOwner* post);
inline constexpr const char* kTarvikKeyringEntryPoint = "tarvik_make_keyring_store";
}
