#pragma once
// What a call of getSTDOUT makes of its text, decided without the platform:
// the commands its argument holds, what it keeps of their output, and the
// result text it answers. Built and tested on every preset.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kel::cmdrunner {

// The output passed OUTPUT_LIMIT; the result holds only its first part.
inline constexpr int OUTPUT_OVERFLOW_CODE = 96;
// A platform call failed; the system's text for it stands in the result.
inline constexpr int SYSTEM_FAILURE_CODE = 97;
// The characters of output a result keeps.
inline constexpr std::size_t OUTPUT_LIMIT = 65536;

// The commands in order, each a view into `commandLine` (UTF-16) and never
// empty. Only the blank and `&` matter: `&` separates commands wherever it
// stands (quotes do not protect it), blanks and `&` before a command are
// skipped, and everything else, tabs and blanks before a `&` included,
// belongs to it.
std::vector<std::u16string_view> splitCommands(std::u16string_view commandLine);

// What the commands of one call write: every byte but zero bytes, up to
// OUTPUT_LIMIT characters. Past that it keeps accepting input without
// growing, so the pipe can be drained until every command has ended. It keeps
// where each command's part of the text starts, since each is decoded on its own.
class OutputAccumulator {
 public:
  OutputAccumulator();

  // Never allocates: the room for OUTPUT_LIMIT characters is taken up front.
  void append(const char* bytes, std::size_t count) noexcept;

  // What comes from now on is the next command's part. A part that got no
  // text is not kept.
  void beginPart();

  const std::string& text() const noexcept { return text_; }
  // Where each part of text() starts, in order; the first starts at 0.
  const std::vector<std::size_t>& partStarts() const noexcept { return partStarts_; }
  // True once more than OUTPUT_LIMIT characters came in.
  bool overflowed() const noexcept { return overflowed_; }

 private:
  std::string text_;
  std::vector<std::size_t> partStarts_{0};
  bool overflowed_ = false;
};

// The captured text, the system's text when a platform call failed (then the
// code is SYSTEM_FAILURE_CODE, cut or not: only that code tells a caller that
// a system text stands before the last line), and the last line with the code,
// which a cut output otherwise makes OUTPUT_OVERFLOW_CODE.
std::string formatResult(std::string_view captured, bool overflowed, int code,
                         const std::optional<std::string>& systemText);

}  // namespace kel::cmdrunner
