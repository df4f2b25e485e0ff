// Whatever the chunking, the accumulator keeps the first `limit` non-zero
// bytes and says whether there were more. The first input byte picks the
// chunk size and whether the rest is repeated to reach past the limit (one
// input in eight, to keep runs short).
#include "output_accumulator.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kel::cmdrunner::OutputAccumulator;
  if (size < 2) return 0;
  const std::size_t chunk = 1 + (data[0] >> 3) * 397;
  const std::string piece(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string all = piece;
  while (data[0] % 8 == 1 && all.size() < OutputAccumulator::limit + 5000) all += piece;

  std::string expected = all;
  std::erase(expected, '\0');
  OutputAccumulator output;
  for (std::size_t at = 0; at < all.size(); at += chunk) {
    output.append(all.data() + at, std::min(chunk, all.size() - at));
  }
  const bool over = expected.size() > OutputAccumulator::limit;
  if (over) expected.resize(OutputAccumulator::limit);
  if (output.text() != expected || output.overflowed() != over) std::abort();
  return 0;
}
