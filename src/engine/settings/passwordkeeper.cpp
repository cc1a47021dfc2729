#include "settings/passwordkeeper.h"

namespace tarvik {
namespace {

std::string withDetail(std::string_view text, const SecretReply& reply) {
  std::string out(text);
  if (!reply.detail.empty()) out += " (" + reply.detail + ")";
  return out;
}

}  // namespace

PasswordKeeper::PasswordKeeper(SecretStore& store) : store_(store) {}

void PasswordKeeper::fetch(SettingsStore& settings, Report done) {
  if (!settings.secret.KEYRING) {
    done({});
    return;
  }
  inStore_ = true;
  store_.lookup([&settings, done = std::move(done)](const SecretReply& reply) {
    switch (reply.status) {
      case SecretReply::Status::kOk:
        settings.tarvik.PASS = reply.password;
        done({});
        return;
      case SecretReply::Status::kNotFound:
        done(std::string(kKeyringEmpty));
        return;
      case SecretReply::Status::kUnreachable:
        done(withDetail(kKeyringUnreachable, reply));
        return;
    }
  });
}

void PasswordKeeper::keep(SettingsStore& settings, const SettingsFiles& files, Report done) {
  if (!settings.secret.KEYRING) {
    if (!inStore_) {
      done({});
      return;
    }
    // The password is back in the file; the store forgets it. A store that
    // cannot be reached keeps a stale copy, which nothing reads any more.
    inStore_ = false;
    store_.clear([done = std::move(done)](const SecretReply&) { done({}); });
    return;
  }
  inStore_ = true;
  const std::string password = settings.tarvik.PASS;
  store_.store(password, [&settings, &files, done = std::move(done)](const SecretReply& reply) {
    if (reply.status == SecretReply::Status::kOk) {
      done({});
      return;
    }
    settings.secret.KEYRING = false;
    std::string error = files.savePasswordChoice(settings);
    done(error.empty() ? withDetail(kKeyringNotSaved, reply) : error);
  });
}

}  // namespace tarvik
