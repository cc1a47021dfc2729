// Writes transcript fixtures as the router sends them (Shift-JIS, LF CR), one
// file per fixture, as the seed corpus of the parser fuzz target.
//
// Usage: parser_seed_writer <output dir> <fixture name>...

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fakes/transcript.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output dir> <fixture name>...\n", argv[0]);
    return 2;
  }
  std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  for (int i = 2; i < argc; ++i) {
    std::string text = tarvik::test::loadTranscript(argv[i]);
    if (text.empty()) {
      std::fprintf(stderr, "cannot read fixture %s\n", argv[i]);
      return 1;
    }
    std::ofstream(dir / (std::string(argv[i]) + ".sjis"), std::ios::binary) << text;
  }
  return 0;
}
