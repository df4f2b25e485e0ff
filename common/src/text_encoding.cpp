#include "kel/text_encoding.h"

namespace kel::text {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The bytes a UTF-8 character beginning with `lead` has, and the range its
// second byte must lie in so that the form is the shortest and the character
// is neither a surrogate nor above U+10FFFF; 0 for a byte that begins none.
struct Lead {
  std::size_t length;
  unsigned char secondLow;
  unsigned char secondHigh;
};

Lead utf8Lead(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Bytes of the UTF-8 character at `text[at]` when it is whole and valid, else 0.
std::size_t utf8CharacterAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const Lead lead = utf8Lead(byte(at));
  if (lead.length == 0 || text.size() - at < lead.length) return 0;
  if (lead.length == 1) return 1;
  if (byte(at + 1) < lead.secondLow || byte(at + 1) > lead.secondHigh) return 0;
  for (std::size_t i = 2; i < lead.length; ++i) {
    if (!isContinuation(byte(at + i))) return 0;
  }
  return lead.length;
}

void appendModifiedUtf8(std::string& out, char16_t unit) {
  if (unit != 0 && unit < 0x80) {
    out += static_cast<char>(unit);
  } else if (unit < 0x800) {
    out += static_cast<char>(0xC0 | (unit >> 6));
    out += static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (unit >> 12));
    out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (unit & 0x3F));
  }
}

}  // namespace

std::optional<std::u16string> decodeModifiedUtf8(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  std::size_t i = 0;
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  while (i < text.size()) {
    const unsigned char lead = byte(i);
    if (lead >= 0x01 && lead <= 0x7F) {
      units += static_cast<char16_t>(lead);
      i += 1;
    } else if (lead == 0xC0 && i + 1 < text.size() && byte(i + 1) == 0x80) {
      units += u'\0';
      i += 2;
    } else if (lead >= 0xC2 && lead <= 0xDF && i + 1 < text.size() && isContinuation(byte(i + 1))) {
      units += static_cast<char16_t>((lead & 0x1F) << 6 | (byte(i + 1) & 0x3F));
      i += 2;
    } else if (lead >= 0xE0 && lead <= 0xEF && i + 2 < text.size() && isContinuation(byte(i + 1)) &&
               isContinuation(byte(i + 2)) && (lead != 0xE0 || byte(i + 1) >= 0xA0)) {
      units += static_cast<char16_t>((lead & 0x0F) << 12 | (byte(i + 1) & 0x3F) << 6 | (byte(i + 2) & 0x3F));
      i += 3;
    } else {
      return std::nullopt;
    }
  }
  return units;
}

std::string encodeModifiedUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char16_t unit : text) appendModifiedUtf8(out, unit);
  return out;
}

std::optional<std::string> utf8ToModifiedUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 2);
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = utf8CharacterAt(utf8, i);
    if (length == 0) return std::nullopt;
    if (length == 4) {
      const auto byte = [&](std::size_t at) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[at])); };
      const char32_t scalar = (byte(i) & 0x07) << 18 | (byte(i + 1) & 0x3F) << 12 | (byte(i + 2) & 0x3F) << 6 |
                              (byte(i + 3) & 0x3F);
      appendModifiedUtf8(out, static_cast<char16_t>(0xD800 + ((scalar - 0x10000) >> 10)));
      appendModifiedUtf8(out, static_cast<char16_t>(0xDC00 + ((scalar - 0x10000) & 0x3FF)));
    } else if (utf8[i] == '\0') {
      appendModifiedUtf8(out, u'\0');
    } else {
      out.append(utf8, i, length);
    }
    i += length;
  }
  return out;
}

std::size_t cutUtf8Tail(std::string_view text) {
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const std::size_t at = text.size() - back;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (isContinuation(lead)) continue;
    const Lead expected = utf8Lead(lead);
    if (expected.length <= back) return 0;
    if (back >= 2) {
      const auto second = static_cast<unsigned char>(text[at + 1]);
      if (second < expected.secondLow || second > expected.secondHigh) return 0;
    }
    return back;
  }
  return 0;
}

}  // namespace kel::text
