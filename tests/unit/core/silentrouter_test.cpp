// The silent-router count on its own: ticks and answers in every order.

#include "engine/core/silentrouter.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik {
namespace {

// Runs a script of 't' (a poll tick) and 'a' (an answer); returns one
// letter per step: 'S' the router fell silent, 'B' it came back, '.' neither.
std::string run(SilentRouter& router, const std::string& script) {
  std::string seen;
  for (char step : script) {
    const bool changed = step == 't' ? router.pollTick() : router.answered(false);
    seen += changed ? (step == 't' ? 'S' : 'B') : '.';
  }
  return seen;
}

TEST(SilentRouter, FallsSilentOnTheThirdQuietTickOnceAndComesBackWithAnAnswer) {
  struct Case {
    const char* script;
    const char* seen;
  } cases[] = {
      {"ttt", "..S"},            // the third tick without an answer
      {"ttttt", "..S.."},        // told once
      {"ttatt", "....."},        // an answer starts the count again
      {"tttat", "..SB."},        // back with the first answer
      {"tatatat", "......."},    // a router that answers between the ticks
      {"tttatttt", "..SB...S"},  // silent again after three more quiet ticks
  };
  for (const Case& c : cases) {
    SilentRouter router;
    EXPECT_EQ(run(router, c.script), c.seen) << c.script;
  }
}

TEST(SilentRouter, ACallRunningWhenTheRouterCameBackMayHaveEndedUnseen) {
  SilentRouter router;
  run(router, "ttt");
  ASSERT_TRUE(router.silent());
  EXPECT_TRUE(router.answered(true));
  EXPECT_FALSE(router.silent());
  EXPECT_TRUE(router.bothChannelsIdle()) << "the end of the call was not seen";
  EXPECT_FALSE(router.bothChannelsIdle()) << "said once";

  run(router, "ttt");
  router.answered(true);
  router.callEndSeen();  // the router reported the end itself
  EXPECT_FALSE(router.bothChannelsIdle());

  run(router, "ttt");
  router.answered(false);  // no call ran
  EXPECT_FALSE(router.bothChannelsIdle());
}

}  // namespace
}  // namespace tarvik
