#pragma once
// Collects what the commands of one call write: every byte but zero bytes, up
// to a fixed number of characters. Past that limit it keeps accepting input
// without growing, so the pipe can be drained until every command has ended.
// It keeps where each command's part of the text starts, since each is
// decoded on its own.

#include <cstddef>
#include <string>
#include <vector>

namespace kel::cmdrunner {

class OutputAccumulator {
 public:
  static constexpr std::size_t limit = 65536;

  OutputAccumulator();

  // Never allocates: the room for `limit` characters is taken up front.
  void append(const char* bytes, std::size_t count) noexcept;

  // What comes from now on is the next command's part. A part that got no
  // text is not kept.
  void beginPart();

  // The first `limit` characters that were not zero bytes.
  const std::string& text() const noexcept { return text_; }
  // Where each part of text() starts, in order; the first starts at 0.
  const std::vector<std::size_t>& partStarts() const noexcept { return partStarts_; }
  // True once more than `limit` characters came in.
  bool overflowed() const noexcept { return overflowed_; }

 private:
  std::string text_;
  std::vector<std::size_t> partStarts_{0};
  bool overflowed_ = false;
};

}  // namespace kel::cmdrunner
