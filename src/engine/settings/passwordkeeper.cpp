#include "engine/settings/passwordkeeper.h"

namespace tarvik {
namespace {

std::string withDetail(std::string_view text, const SecretReply& reply) {
  std::string out(text);
  if (!reply.detail.empty()) out += " (" + reply.detail + ")";
  return out;
}

}  // namespace

void takeFetchedPassword(const SettingsStore& fetched, SettingsStore& current) {
  current.secret.held = fetched.secret.held;
  if (!passwordUnread(current)) return;
  current.tarvik.PASS = fetched.tarvik.PASS;
  current.secret.unreadAs = fetched.secret.unreadAs;
}

PasswordKeeper::PasswordKeeper(SecretStore& store) : store_(store) {}

void PasswordKeeper::fetch(SettingsStore& settings, Report done) {
  if (!settings.secret.KEYRING) {
    done({});
    return;
  }
  store_.lookup([&settings, done = std::move(done)](const SecretReply& reply) {
    switch (reply.status) {
      case SecretReply::Status::kOk:
        settings.tarvik.PASS = reply.password;
        settings.secret.held = reply.password;
        settings.secret.unreadAs.reset();
        done({});
        return;
      case SecretReply::Status::kNotFound:
        // Nothing to lose in the store: the file's password is the one, and
        // the next save puts it there.
        settings.secret.unreadAs.reset();
        done(std::string(kKeyringEmpty));
        return;
      case SecretReply::Status::kLocked:
        done(withDetail(kKeyringLocked, reply));
        return;
      case SecretReply::Status::kUnreachable:
        done(withDetail(kKeyringUnreachable, reply));
        return;
    }
  });
}

void PasswordKeeper::keep(SettingsStore& settings, const SettingsFiles& files, Report done) {
  const std::uint64_t keep = ++keeps_;
  // An unread password stays where it is, in the store: the dialog save
  // has said so.
  if (passwordUnread(settings) || passwordInStore(settings)) {
    done({});
    return;
  }
  auto current = [this, keep] { return keep == keeps_; };
  if (!settings.secret.KEYRING) {
    if (!settings.secret.held) {
      done({});
      return;
    }
    // The password is back in the file; the store forgets it. A store that
    // cannot be reached keeps a stale copy, which nothing reads any more.
    store_.clear([&settings, current, done = std::move(done)](const SecretReply& reply) {
      if (!current()) return;
      if (reply.status == SecretReply::Status::kOk) settings.secret.held.reset();
      done({});
    });
    return;
  }
  const std::string password = settings.tarvik.PASS;
  store_.store(password, [&settings, &files, password, current, done = std::move(done)](const SecretReply& reply) {
    if (!current()) return;
    if (reply.status == SecretReply::Status::kOk) {
      // Confirmed: only now does the file give the password up.
      settings.secret.held = password;
      done(files.savePasswordChoice(settings));
      return;
    }
    settings.secret.KEYRING = false;
    std::string error = files.savePasswordChoice(settings);
    done(error.empty() ? withDetail(kKeyringNotSaved, reply) : error);
  });
}

}  // namespace tarvik
