#pragma once
// Collects what the commands of one call write: every byte but zero bytes, up
// to a fixed number of characters. Past that limit it keeps accepting input
// without growing, so the pipe can be drained until every command has ended.

#include <cstddef>
#include <string>

namespace kel::cmdrunner {

class OutputAccumulator {
 public:
  static constexpr std::size_t limit = 65536;

  OutputAccumulator();

  // Never allocates: the room for `limit` characters is taken up front.
  void append(const char* bytes, std::size_t count) noexcept;

  // The first `limit` characters that were not zero bytes.
  const std::string& text() const noexcept { return text_; }
  // True once more than `limit` characters came in.
  bool overflowed() const noexcept { return overflowed_; }

 private:
  std::string text_;
  bool overflowed_ = false;
};

}  // namespace kel::cmdrunner
