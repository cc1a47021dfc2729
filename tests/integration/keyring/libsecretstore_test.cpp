// The Secret Service adapter against a real service: with-private-keyring.sh
// starts one on a private session bus, so nothing here touches the user's
// keyring. The unreachable case runs without any bus.

#include "posix/keyring/libsecretstore.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include <libsecret/secret.h>

#include <future>

#include "engine/base/sjis.h"
#include "posix/keyring/serialworker.h"

namespace tarvik::app {
namespace {

using Status = SecretReply::Status;

// What a request without an event loop answers: the reply, straight away.
SecretReply now(const std::function<void(SecretStore::Done)>& request) {
  std::optional<SecretReply> reply;
  request([&](const SecretReply& r) { reply = r; });
  EXPECT_TRUE(reply.has_value()) << "answered inside the call";
  return reply.value_or(SecretReply{});
}

TEST(LibsecretStore, KeepsFindsAndForgetsOnePasswordPerConfigDirectory) {
  LibsecretStore first("/home/user/.config/tarvik");
  LibsecretStore second("/srv/tarvik");
  const std::string password = toSjis("ひみつ-pass");

  EXPECT_EQ(now([&](auto done) { first.lookup(done); }).status, Status::kNotFound);
  ASSERT_EQ(now([&](auto done) { first.store(password, done); }).status, Status::kOk);
  ASSERT_EQ(now([&](auto done) { second.store("other", done); }).status, Status::kOk);

  SecretReply found = now([&](auto done) { first.lookup(done); });
  EXPECT_EQ(found.status, Status::kOk);
  EXPECT_EQ(found.password, password);
  EXPECT_EQ(now([&](auto done) { second.lookup(done); }).password, "other");

  // A new password replaces the old one.
  ASSERT_EQ(now([&](auto done) { first.store("changed", done); }).status, Status::kOk);
  EXPECT_EQ(now([&](auto done) { first.lookup(done); }).password, "changed");

  EXPECT_EQ(now([&](auto done) { first.clear(done); }).status, Status::kOk);
  EXPECT_EQ(now([&](auto done) { first.lookup(done); }).status, Status::kNotFound);
  EXPECT_EQ(now([&](auto done) { first.clear(done); }).status, Status::kOk) << "nothing to clear is fine";
  EXPECT_EQ(now([&](auto done) { second.lookup(done); }).password, "other");
  now([&](auto done) { second.clear(done); });
}

// The owner's event loop, reduced to a queue that one thread drains.
class OwnerLoop {
 public:
  LibsecretStore::Post post() {
    return [this](std::function<void()> f) {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(f));
      wake_.notify_one();
    };
  }
  // Runs whatever has been posted by now.
  void drain() {
    for (;;) {
      std::unique_lock lock(mutex_);
      if (queue_.empty()) return;
      auto f = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      f();
    }
  }
  // Runs posted work until `until` holds.
  void runUntil(const std::function<bool()>& until) {
    while (!until()) {
      std::unique_lock lock(mutex_);
      ASSERT_TRUE(wake_.wait_for(lock, std::chrono::seconds(30), [&] { return !queue_.empty(); }))
          << "no answer from the store";
      auto f = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      f();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
};

// With a post, the call returns at once and the answer arrives on the
// owner's thread, through its loop.
TEST(LibsecretStore, AnswersComeBackOnTheOwnersThread) {
  OwnerLoop loop;
  LibsecretStore store("/home/user/.config/tarvik-async", loop.post());
  const std::thread::id owner = std::this_thread::get_id();
  std::vector<std::string> answers;
  auto record = [&](const char* what) {
    return [&, what](const SecretReply& reply) {
      EXPECT_EQ(std::this_thread::get_id(), owner);
      answers.push_back(std::string(what) + " " + std::to_string(static_cast<int>(reply.status)) + " " +
                        reply.password);
    };
  };
  store.store("async", record("store"));
  EXPECT_TRUE(answers.empty()) << "nothing is answered inside the call";
  loop.runUntil([&] { return answers.size() == 1; });
  store.lookup(record("lookup"));
  loop.runUntil([&] { return answers.size() == 2; });
  store.clear(record("clear"));
  loop.runUntil([&] { return answers.size() == 3; });
  EXPECT_EQ(answers, (std::vector<std::string>{"store 0 ", "lookup 0 async", "clear 0 "}));
}

// A locked keyring whose unlock is not given (here: no display to ask on,
// as when the user cancels the prompt) holds the password all the same;
// the lookup says it is locked, not that there is none.
TEST(LibsecretStoreLocked, ALockedEntryIsToldApartFromNone) {
  LibsecretStore store("/home/user/.config/tarvik-locked");
  LibsecretStore other("/home/user/.config/tarvik-never-stored");
  ASSERT_EQ(now([&](auto done) { store.store("locked-away", done); }).status, Status::kOk);

  GError* error = nullptr;
  SecretService* service = secret_service_get_sync(SECRET_SERVICE_LOAD_COLLECTIONS, nullptr, &error);
  ASSERT_NE(service, nullptr) << (error ? error->message : "");
  GList* collections = secret_service_get_collections(service);
  ASSERT_GT(secret_service_lock_sync(service, collections, nullptr, nullptr, &error), 0)
      << (error ? error->message : "");
  g_list_free_full(collections, g_object_unref);
  g_object_unref(service);

  EXPECT_EQ(now([&](auto done) { store.lookup(done); }).status, Status::kLocked);
  EXPECT_EQ(now([&](auto done) { other.lookup(done); }).status, Status::kNotFound);
}

// The owner's end does not wait for a request that hangs (a keyring
// prompt left open); the answer of that request, and of those queued
// behind it, never reaches the owner.
TEST(SerialWorker, AnEndNeverWaitsForARequestInProgress) {
  OwnerLoop loop;
  std::mutex gate;
  std::unique_lock prompt(gate);  // the second job waits here, like a prompt
  std::vector<std::string> answered;
  auto started = std::make_shared<std::promise<void>>();
  auto token = std::make_shared<int>(0);  // held by the hanging job's answer
  std::weak_ptr<int> answer = token;
  {
    SerialWorker worker(loop.post());
    worker.run([&answered] { return [&answered] { answered.push_back("first"); }; });
    loop.runUntil([&] { return answered.size() == 1; });
    worker.run([&gate, &answered, started, token = std::move(token)]() -> std::function<void()> {
      started->set_value();
      std::lock_guard wait(gate);
      return [&answered, token] { answered.push_back("prompt"); };
    });
    worker.run([&answered] { return [&answered] { answered.push_back("queued"); }; });
    started->get_future().wait();
  }  // the worker ends here, its job still waiting: this returns at once
  prompt.unlock();
  // The job ends; its answer is dropped on the worker's side, never posted.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!answer.expired() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_TRUE(answer.expired()) << "the answer was kept";
  loop.drain();
  EXPECT_EQ(answered, std::vector<std::string>{"first"});
}

// Run with no session bus at all: every request says so, none hangs.
TEST(LibsecretStoreUnreachable, EveryRequestSaysTheStoreCannotBeReached) {
  LibsecretStore store("/home/user/.config/tarvik");
  for (const auto& request : std::vector<std::function<void(SecretStore::Done)>>{
           [&](auto done) { store.lookup(done); }, [&](auto done) { store.store("x", done); },
           [&](auto done) { store.clear(done); }}) {
    SecretReply reply = now(request);
    EXPECT_EQ(reply.status, Status::kUnreachable);
    EXPECT_FALSE(reply.detail.empty()) << "the store's own words say why";
  }
}

}  // namespace
}  // namespace tarvik::app
