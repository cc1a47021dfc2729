// The control port: its replies, the state dump, and what its requests do.

#include <gtest/gtest.h>


#include "sim/simharness.h"

namespace simtest {
namespace {

TEST(SimControl, StateDumpsTheRouterOnOneLine) {
  Sim sim({"--busy", "2", "--failing", "4", "--failing", "9", "--fault", "nul", "--history-size", "3"});
  const std::string state = sim.control("state");
  EXPECT_EQ(
      state.rfind("OK b1=idle b2=idle busy=2 failing=4,9 faults=nul history=3 analog=3 kanji=s clock=", 0),
      0u)
      << state;
  EXPECT_TRUE(contains(state, " sessions=0 ended=0")) << state;
  // A whole exchange: its session is counted as ended once it closes.
  converse(sim.console, loginBatch({"sh s"}));
  EXPECT_TRUE(waitForState(sim, " sessions=0 ended=1"));
}

TEST(SimControl, RequestsChangeWhatTheStateShows) {
  Sim sim;
  struct Step {
    const char* request;
    const char* reply;
    const char* stateHas;
  };
  const Step steps[] = {
      {"busy 3", "OK", " busy=3 "},
      {"busy 12", "OK", " busy=3,12 "},
      {"unbusy 3", "OK", " busy=12 "},
      {"failing 0", "OK", " failing=0 "},
      {"unfailing 0", "OK", " failing=- "},
      {"fault split", "OK", " faults=split "},
      {"fault garbage", "OK", " faults=split,garbage "},
      {"nofault split", "OK", " faults=garbage "},
      {"nofault all", "OK", " faults=- "},
      {"ring 0452223333", "OK B1", " b1=ringing:0452223333 "},
      {"ring 0663334444", "OK B2", " b2=ringing:0663334444 "},
      {"ring 0311110000", "ERR no free channel", " b2=ringing:0663334444 "},
      {"stop-ring", "OK", " b1=idle b2=idle "},
      {"history 手動の記録", "OK", " history=6 "},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(sim.control(s.request), s.reply) << s.request;
    EXPECT_TRUE(contains(" " + sim.control("state") + " ", s.stateHas)) << s.request;
  }
  EXPECT_TRUE(contains(u8(converse(sim.console, loginBatch({"sh h"})).bytes()), " 手動の記録\n\r"));
}

TEST(SimControl, MalformedRequestsAreRefusedWithAReason) {
  Sim sim;
  const std::pair<const char*, const char*> cases[] = {
      {"ring", "ERR expected a telephone number"},
      {"ring 03-1234-ABCD", "ERR expected a telephone number"},
      {"ring 01234567890123456", "ERR expected a telephone number"},
      {"busy 16", "ERR expected a destination number 0-15"},
      {"failing -1", "ERR expected a destination number 0-15"},
      {"unbusy x", "ERR expected a destination number 0-15"},
      {"fault bogus", "ERR unknown fault"},
      {"history", "ERR expected a text"},
      {"hangup now", "ERR hangup takes no argument"},
      {"set minute-ms 0", "ERR expected milliseconds"},
      {"set slow-ms", "ERR expected milliseconds"},
      {"set volume 3", "ERR unknown setting"},
      {"", "ERR empty request"},
      {"frobnicate", "ERR unknown command frobnicate"},
  };
  for (const auto& [request, reply] : cases)
    EXPECT_EQ(sim.control(request).rfind(reply, 0), 0u) << request << " -> " << sim.control(request);
  EXPECT_EQ(sim.control("state").rfind("OK b1=idle b2=idle busy=- failing=- faults=- ", 0), 0u);
}

TEST(SimControl, SetChangesTheCallDelay) {
  Sim sim;
  // A long delay for the first call, a short one for the second: the
  // second connects while the first still dials.
  ASSERT_EQ(sim.control("set connect-delay-ms 60000"), "OK");
  converse(sim.console, loginBatch({"co 0"}));
  EXPECT_TRUE(contains(sim.control("state"), " b1=dialling:0 "));
  ASSERT_EQ(sim.control("set connect-delay-ms 50"), "OK");
  converse(sim.console, loginBatch({"co 2"}));
  ASSERT_TRUE(waitForState(sim, " b2=connected:2:203.0.113."));
  EXPECT_TRUE(contains(sim.control("state"), " b1=dialling:0 "));
}

TEST(SimControl, HelpQuitAndShutdown) {
  Sim sim;
  const std::string help = sim.control("help");
  for (const char* word : {"ring", "stop-ring", "busy", "unbusy", "failing", "unfailing", "hangup", "history",
                           "fault", "nofault", "set", "state", "quit", "shutdown"})
    EXPECT_TRUE(contains(help, word)) << word;
  // quit closes only this control connection.
  const Transcript bye = converse(sim.controlPort, "quit\n");
  EXPECT_EQ(bye.bytes(), "OK bye\n");
  EXPECT_TRUE(bye.closedByPeer);
  EXPECT_EQ(sim.control("shutdown"), "OK shutting down");
  EXPECT_EQ(sim.child.wait(3000), 0);
}

}  // namespace
}  // namespace simtest
