// The console output parser on one "sh s" answer and on a full 8192-byte
// chunk of mixed output, events included, beside one memchr pass over the
// same bytes (the floor: the parser looks at every byte at least once).

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/monitor/consoleparser.h"
#include "fakes/sinkhost.h"
#include "fakes/transcript.h"

namespace tarvik {
namespace {

// The answer of a poll that holds both status blocks.
std::string showStatusAnswer() {
  for (const std::string& answer : test::splitAnswers(test::loadTranscript("parser-poll-connected"))) {
    if (answer.find("BOD") != std::string::npos) return answer;
  }
  return {};
}

// 8192 bytes of every kind of output the parser meets, back to back.
std::string mixedChunk() {
  std::string chunk;
  const char* names[] = {"parser-startup",  "parser-poll-connected", "parser-dial",   "parser-disconnect",
                         "parser-incoming", "parser-busy",           "parser-history"};
  while (chunk.size() < 8192) {
    for (const char* name : names) chunk += test::loadTranscript(name);
  }
  chunk.resize(8192);
  return chunk;
}

std::vector<std::string> nameList() {
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i)
    names.push_back("03123450" + std::to_string(10 + i) + ":Name" + std::to_string(i));
  return names;
}

void runParser(benchmark::State& state, const std::string& text, bool command) {
  if (text.empty()) {
    state.SkipWithError("fixture not found");
    return;
  }
  test::SinkHost host;
  host.command = command;
  host.names = nameList();
  ConsoleParser parser(host);
  for (auto _ : state) {
    parser.AsyncSock1Receive(text);
    benchmark::DoNotOptimize(host.touched);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["bytes"] = static_cast<double>(text.size());
}

void runMemchr(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
      ++lines;
      at = static_cast<const char*>(found) + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_ShowStatusAnswer_Poll(benchmark::State& state) { runParser(state, showStatusAnswer(), false); }
void BM_ShowStatusAnswer_Command(benchmark::State& state) { runParser(state, showStatusAnswer(), true); }
void BM_ShowStatusAnswer_Memchr(benchmark::State& state) { runMemchr(state, showStatusAnswer()); }
void BM_MixedChunk8192_Poll(benchmark::State& state) { runParser(state, mixedChunk(), false); }
void BM_MixedChunk8192_Command(benchmark::State& state) { runParser(state, mixedChunk(), true); }
void BM_MixedChunk8192_Memchr(benchmark::State& state) { runMemchr(state, mixedChunk()); }

BENCHMARK(BM_ShowStatusAnswer_Poll);
BENCHMARK(BM_ShowStatusAnswer_Command);
BENCHMARK(BM_ShowStatusAnswer_Memchr);
BENCHMARK(BM_MixedChunk8192_Poll);
BENCHMARK(BM_MixedChunk8192_Command);
BENCHMARK(BM_MixedChunk8192_Memchr);

}  // namespace
}  // namespace tarvik
