// The console vocabulary and the login batch, byte for byte.

#include "engine/net/exchange.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik {
namespace {

struct ChainCase {
  const char* name;
  std::string produced;
  std::string expected;
};

class VocabularyTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(VocabularyTest, ChainIsExact) { EXPECT_EQ(GetParam().produced, GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Chains, VocabularyTest,
    ::testing::Values(
        ChainCase{"startup", commands::startupChain(), "sh ver\rsh r l\rsh s\rsh r l\r"},
        ChainCase{"clockLine", commands::clockLine(1999, 5, 3, 9, 7), "1999/5/3-9:7"},
        ChainCase{"clockLineTwoDigits", commands::clockLine(2024, 12, 31, 23, 59), "2024/12/31-23:59"},
        ChainCase{"clockLineMidnight", commands::clockLine(2001, 1, 1, 0, 0), "2001/1/1-0:0"},
        ChainCase{"setClock", commands::setClock("1999/5/3-9:7"), "\rsy t 1999/5/3-9:7"},
        ChainCase{"poll", commands::poll(), "sh s"}, ChainCase{"dial0", commands::dial(0), "co 0\rsh s"},
        ChainCase{"dial15", commands::dial(15), "co 15\rsh s"},
        ChainCase{"disconnectAll", commands::disconnectAll(), "dis a\rsh s"},
        ChainCase{"disconnectB1", commands::disconnectB1(), "dis b1\rsh s"},
        ChainCase{"disconnectB2", commands::disconnectB2(), "dis b2\rsh s"},
        ChainCase{"dialWithCredentials", commands::dialWithCredentials(3, "user@isp", "secret"),
                  "rem 3 s i user@isp\rrem 3 s p secret\rco 3\rrem 3 s p\r"},
        ChainCase{"dialWithCredentialsEmpty", commands::dialWithCredentials(12, "", ""),
                  "rem 12 s i \rrem 12 s p \rco 12\rrem 12 s p\r"},
        // A line break typed into the ID or password must not start a
        // console command of its own.
        ChainCase{"dialWithCredentialsLineBreaks", commands::dialWithCredentials(1, "us\rer", "p\nw\r\nd"),
                  "rem 1 s i user\rrem 1 s p pwd\rco 1\rrem 1 s p\r"},
        ChainCase{"dialWithCredentialsShiftJis", commands::dialWithCredentials(2, "\x83\x86\x81\x5B", "{n}"),
                  "rem 2 s i \x83\x86\x81\x5B\rrem 2 s p {n}\rco 2\rrem 2 s p\r"},
        ChainCase{"history", commands::history(), "sh h"},
        ChainCase{"charges", commands::charges(), "show ch"}, ChainCase{"ppp", commands::ppp(), "show ppp"},
        ChainCase{"analogHistory", commands::analogHistory(), "show history"},
        ChainCase{"mail", commands::mail(), "show mail"},
        ChainCase{"phsMail", commands::phsMail(), "show pmail"}),
    [](const ::testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

struct BatchCase {
  const char* name;
  std::string password, chain, code;
  std::string expected;
};

class LoginBatchTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(LoginBatchTest, BatchIsExact) {
  const BatchCase& c = GetParam();
  EXPECT_EQ(loginBatch(c.password, c.chain, c.code), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, LoginBatchTest,
    ::testing::Values(
        BatchCase{"pollWithPasswordAndCode", "pass", "sh s", "sys kc e",
                  "\radmin\rpass\rsys kc s\rsh s\rsys kc e\rl\r"},
        // No password: straight from "admin" CR to "sys kc s".
        BatchCase{"emptyPassword", "", "sh s", "sys kc e", "\radmin\rsys kc s\rsh s\rsys kc e\rl\r"},
        // No code: an empty line before "l".
        BatchCase{"emptyCode", "pass", "sh s", "", "\radmin\rpass\rsys kc s\rsh s\r\rl\r"},
        BatchCase{"emptyBoth", "", "sh s", "", "\radmin\rsys kc s\rsh s\r\rl\r"},
        // The start-up chain ends in CR, so the clock command follows an
        // empty line: two CRs in a row before "sy t ".
        BatchCase{"startupWithClock", "", commands::startupChain() + commands::setClock("1999/5/3-9:7"), "",
                  "\radmin\rsys kc s\rsh ver\rsh r l\rsh s\rsh r l\r\rsy t 1999/5/3-9:7\r\rl\r"},
        BatchCase{"startupWithoutClock", "pw", commands::startupChain(), "",
                  "\radmin\rpw\rsys kc s\rsh ver\rsh r l\rsh s\rsh r l\r\r\rl\r"},
        BatchCase{"credentialsChain", "pw", commands::dialWithCredentials(0, "id", "x"), "",
                  "\radmin\rpw\rsys kc s\rrem 0 s i id\rrem 0 s p x\rco 0\rrem 0 s p\r\r\rl\r"},
        // A password or code holding a line break stays one line; a
        // password that is only a line break counts as empty.
        BatchCase{"passwordLineBreak", "pa\r\nss", "sh s", "", "\radmin\rpass\rsys kc s\rsh s\r\rl\r"},
        BatchCase{"passwordOnlyCr", "\r", "sh s", "", "\radmin\rsys kc s\rsh s\r\rl\r"},
        BatchCase{"codeLineBreak", "", "sh s", "sys\rkc e", "\radmin\rsys kc s\rsh s\rsyskc e\rl\r"}),
    [](const ::testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvik
