// Whatever the chunking, the accumulator keeps the first OUTPUT_LIMIT
// non-zero bytes and says whether there were more, and its parts start in
// order within the text. The first input byte picks the chunk size and
// whether the rest is repeated to reach past the limit (one input in eight,
// to keep runs short); each chunk starts a command's part when the chunk's
// first byte is odd.
#include "result.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kel::cmdrunner::OUTPUT_LIMIT;
  using kel::cmdrunner::OutputAccumulator;
  if (size < 2) return 0;
  const std::size_t chunk = 1 + (data[0] >> 3) * 397;
  const std::string piece(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string all = piece;
  while (data[0] % 8 == 1 && all.size() < OUTPUT_LIMIT + 5000) all += piece;

  std::string expected = all;
  std::erase(expected, '\0');
  OutputAccumulator output;
  for (std::size_t at = 0; at < all.size(); at += chunk) {
    if (all[at] & 1) output.beginPart();
    output.append(all.data() + at, std::min(chunk, all.size() - at));
  }
  const bool over = expected.size() > OUTPUT_LIMIT;
  if (over) expected.resize(OUTPUT_LIMIT);
  if (output.text() != expected || output.overflowed() != over) std::abort();

  const std::vector<std::size_t>& starts = output.partStarts();
  if (starts.front() != 0 || !std::is_sorted(starts.begin(), starts.end()) ||
      std::adjacent_find(starts.begin(), starts.end()) != starts.end() || starts.back() > output.text().size()) {
    std::abort();
  }
  return 0;
}
