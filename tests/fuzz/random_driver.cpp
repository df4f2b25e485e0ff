// Stands in for libFuzzer where it is not available: feeds the target a fixed
// sequence of pseudo-random inputs, biased towards the bytes parsers care
// about, so a run is repeatable and any sanitizer report reproduces.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
  std::mt19937 rng(12345);
  static constexpr std::uint8_t interesting[] = {' ', '&', '\t', '"', '\\', '-', 'e', '%', '^',
                                                 '|', '<', '>', '(', ')', '\0', 'a', 'x', ':',
                                                 ';', ',', '='};
  std::vector<std::uint8_t> input;
  for (long run = 0; run < runs; ++run) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(0, run % 100 == 0 ? 70000 : 64)(rng);
    input.resize(size);
    for (auto& byte : input) {
      byte = rng() % 4 == 0 ? static_cast<std::uint8_t>(rng())
                            : interesting[rng() % sizeof interesting];
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("%ld random inputs, no fault\n", runs);
  return 0;
}
