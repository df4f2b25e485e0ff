#include "captured_text.h"

#include "kel/text_encoding.h"

namespace kel::cmdrunner {

namespace {

std::string partText(std::string_view part, bool cut, CodePageDecoder fromConsoleCodePage) {
  const std::string_view whole = cut ? part.substr(0, part.size() - text::cutUtf8Tail(part)) : part;
  if (std::optional<std::string> utf8 = text::utf8ToModifiedUtf8(whole)) return *std::move(utf8);
  return text::encodeModifiedUtf8(fromConsoleCodePage(part, cut));
}

}  // namespace

std::string capturedText(std::string_view captured, const std::vector<std::size_t>& partStarts, bool cut,
                         CodePageDecoder fromConsoleCodePage) {
  std::string text;
  for (std::size_t i = 0; i < partStarts.size(); ++i) {
    const std::size_t end = i + 1 < partStarts.size() ? partStarts[i + 1] : captured.size();
    const bool last = i + 1 == partStarts.size();
    text += partText(captured.substr(partStarts[i], end - partStarts[i]), cut && last, fromConsoleCodePage);
  }
  return text;
}

}  // namespace kel::cmdrunner
