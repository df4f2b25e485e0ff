// Any bytes and any UTF-16: modified UTF-8 is made only of valid forms and
// decodes back to the same code units; UTF-8 turned into modified UTF-8 keeps
// every character; a UTF-8 text cut anywhere is whole again once its cut tail
// is dropped.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kel/text_encoding.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Standard UTF-8 of UTF-16 code units whose surrogates all come in pairs.
std::string toUtf8(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool surrogatesPaired(std::u16string_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
    const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
    if (low) return false;
    if (high && (++i == units.size() || units[i] < 0xDC00 || units[i] > 0xDFFF)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The bytes as UTF-16 code units, any values at all.
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::string encoded = kel::text::encodeModifiedUtf8(units);
  check(encoded.find('\0') == std::string::npos);
  check(kel::text::decodeModifiedUtf8(encoded) == units);

  // Strict decoding: what decodes encodes back to the very same bytes.
  if (const auto decoded = kel::text::decodeModifiedUtf8(bytes)) {
    check(kel::text::encodeModifiedUtf8(*decoded) == bytes);
  }

  if (const auto modified = kel::text::utf8ToModifiedUtf8(bytes)) {
    const auto decoded = kel::text::decodeModifiedUtf8(*modified);
    check(decoded && surrogatesPaired(*decoded) && toUtf8(*decoded) == bytes);
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 1 + bytes.size() / 64) {
      const std::string_view head = bytes.substr(0, cut);
      const std::size_t tail = kel::text::cutUtf8Tail(head);
      check(tail < 4 && kel::text::utf8ToModifiedUtf8(head.substr(0, cut - tail)).has_value());
    }
  }
  return 0;
}
