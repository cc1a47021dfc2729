// Runs a libFuzzer entry point without libFuzzer, so that the tests can give
// every fuzz target a short, deterministic run with any compiler.
//
// Usage: <target> [iterations] [seed] [corpus files...]
// Each corpus file is run as it is and then mutated; with no corpus,
// random inputs are used.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> mutate(std::vector<std::uint8_t> input, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < edits; ++i) {
    switch (rng() % 4) {
      case 0:
        if (!input.empty()) input[rng() % input.size()] = static_cast<std::uint8_t>(byte(rng));
        break;
      case 1:
        input.insert(input.begin() + static_cast<long>(input.empty() ? 0 : rng() % input.size()),
                     static_cast<std::uint8_t>(byte(rng)));
        break;
      case 2:
        if (!input.empty()) input.erase(input.begin() + static_cast<long>(rng() % input.size()));
        break;
      default:
        if (input.size() > 2) {
          std::size_t from = rng() % input.size();
          std::size_t len = 1 + rng() % std::min<std::size_t>(16, input.size() - from);
          std::vector<std::uint8_t> piece(input.begin() + static_cast<long>(from),
                                          input.begin() + static_cast<long>(from + len));
          input.insert(input.begin() + static_cast<long>(rng() % input.size()), piece.begin(), piece.end());
        }
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
  unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
  std::vector<std::vector<std::uint8_t>> corpus;
  for (int i = 3; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::mt19937 rng(seed);
  for (const auto& input : corpus) LLVMFuzzerTestOneInput(input.data(), input.size());
  for (long i = 0; i < iterations; ++i) {
    std::vector<std::uint8_t> input;
    if (!corpus.empty()) {
      input = mutate(corpus[rng() % corpus.size()], rng);
    } else {
      input.resize(rng() % 512);
      for (auto& b : input) b = static_cast<std::uint8_t>(rng());
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("fuzz run: %ld inputs, %zu corpus files, no crash\n", iterations, corpus.size());
  return 0;
}
