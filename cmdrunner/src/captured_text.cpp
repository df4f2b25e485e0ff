#include "captured_text.h"

#include "kel/text_encoding.h"

namespace kel::cmdrunner {

std::string capturedText(std::string_view captured, bool cut, AnsiDecoder fromAnsi) {
  const std::string_view whole = cut ? captured.substr(0, captured.size() - text::cutUtf8Tail(captured)) : captured;
  if (std::optional<std::string> utf8 = text::utf8ToModifiedUtf8(whole)) return *std::move(utf8);
  return text::encodeModifiedUtf8(fromAnsi(captured, cut));
}

}  // namespace kel::cmdrunner
