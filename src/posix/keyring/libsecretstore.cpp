#include "posix/keyring/libsecretstore.h"

#include <libsecret/secret.h>

#include <utility>

#include "engine/base/sjis.h"

namespace tarvik::app {
namespace {

// The entry's attributes: the program and the config directory it serves.
const SecretSchema* schema() {
  static const SecretSchema kSchema = {
      "org.tarvik.RouterPassword",
      SECRET_SCHEMA_NONE,
      {{"config-dir", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
      0,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr,
      nullptr};
  return &kSchema;
}

SecretReply failure(GError* error) {
  SecretReply reply{SecretReply::Status::kUnreachable, "", error ? error->message : ""};
  if (error) g_error_free(error);
  return reply;
}

// Whether the store holds an entry of this program at all, locked or not,
// without asking the user to unlock anything. (An item's own locked flag
// may be stale in this process, so the search alone decides: after a
// lookup that found nothing, any entry there is one it could not unlock.)
bool heldLocked(const std::string& account) {
  GError* error = nullptr;
  GHashTable* attributes = secret_attributes_build(schema(), "config-dir", account.c_str(), nullptr);
  GList* items = secret_service_search_sync(nullptr, schema(), attributes, SECRET_SEARCH_ALL, nullptr, &error);
  g_hash_table_unref(attributes);
  const bool found = items != nullptr;
  g_list_free_full(items, g_object_unref);
  if (error) g_error_free(error);
  return found;
}

// The store keeps UTF-8 text; the program's password is Shift-JIS bytes.
SecretReply lookupNow(const std::string& account) {
  GError* error = nullptr;
  gchar* found =
      secret_password_lookup_sync(schema(), nullptr, &error, "config-dir", account.c_str(), nullptr);
  if (error) return failure(error);
  if (!found) {
    // A locked entry whose unlock was cancelled or refused reads as none.
    if (heldLocked(account)) return {SecretReply::Status::kLocked, "", ""};
    return {SecretReply::Status::kNotFound, "", ""};
  }
  SecretReply reply{SecretReply::Status::kOk, toSjis(found), ""};
  secret_password_free(found);
  return reply;
}

SecretReply storeNow(const std::string& account, const std::string& password) {
  GError* error = nullptr;
  const std::string label = "Tarvik ルーターのパスワード (" + account + ")";
  const std::string text = toUtf8(password);
  if (!secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), text.c_str(), nullptr,
                                  &error, "config-dir", account.c_str(), nullptr)) {
    return failure(error);
  }
  return {SecretReply::Status::kOk, "", ""};
}

SecretReply clearNow(const std::string& account) {
  GError* error = nullptr;
  secret_password_clear_sync(schema(), nullptr, &error, "config-dir", account.c_str(), nullptr);
  if (error) return failure(error);
  return {SecretReply::Status::kOk, "", ""};
}

}  // namespace

LibsecretStore::LibsecretStore(std::string account, Post post) : account_(std::move(account)) {
  if (post) worker_.emplace(std::move(post));
}

LibsecretStore::~LibsecretStore() = default;

void LibsecretStore::lookup(Done done) { run(lookupNow, std::move(done)); }

void LibsecretStore::store(const std::string& password, Done done) {
  run([password](const std::string& account) { return storeNow(account, password); }, std::move(done));
}

void LibsecretStore::clear(Done done) { run(clearNow, std::move(done)); }

void LibsecretStore::run(std::function<SecretReply(const std::string&)> work, Done done) {
  if (!worker_) {
    done(work(account_));
    return;
  }
  worker_->run([work = std::move(work), done = std::move(done), account = account_]() -> std::function<void()> {
    SecretReply reply = work(account);
    return [done, reply = std::move(reply)] { done(reply); };
  });
}

}  // namespace tarvik::app
