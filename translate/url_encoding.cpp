#include "translate/url_encoding.h"

#include <algorithm>
#include <array>

#include "text/codepage.h"

namespace quillorn {
namespace {

constexpr std::array<bool, 256> KeptBytes() {
  std::array<bool, 256> kept{};
  for (int b = 0; b < 256; ++b) {
    kept[b] = b == 0x2D || b == 0x2E || (b >= 0x30 && b <= 0x39) || (b >= 0x41 && b <= 0x5A) ||
              (b >= 0x61 && b <= 0x7A);
  }
  return kept;
}
constexpr std::array<bool, 256> kKept = KeptBytes();
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

Text UrlEncode(std::string_view text, bool keepUnreserved, bool toUtf8) {
  Text utf8;
  if (toUtf8) {
    utf8 = AnsiToUtf8(text);
    text = utf8;
  }
  Text out(text.size() * 3, '\0');
  char* o = out.data();
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (keepUnreserved && kKept[b]) {
      *o++ = c;
    } else {
      *o++ = '%';
      *o++ = kHexDigits[b >> 4];
      *o++ = kHexDigits[b & 0x0F];
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

Text AnsiToUtf8(std::string_view text) {
  // ASCII is the same in both code pages; skipping the two conversions gives the same bytes.
  if (IsAscii(text)) return Text(text);
  return Utf16ToMultiByte(MultiByteToUtf16(text, kCodePageGbk), kCodePageUtf8);
}

std::u16string MultiByteToUtf16(std::string_view text, int codePage) {
  text = text.substr(0, text.find('\0'));
  std::u16string buffer;
  if (codePage == kCodePageGbk || codePage == kCodePageAnsi) {
    buffer = GbkToUtf16(text);
  } else if (codePage == kCodePageUtf8) {
    buffer = Utf8ToUtf16(text);
  }
  buffer.push_back(u'\0');
  return buffer;
}

Text Utf16ToMultiByte(std::u16string_view buffer, int codePage) {
  buffer = buffer.substr(0, buffer.find(u'\0'));
  if (codePage == kCodePageGbk || codePage == kCodePageAnsi) return Utf16ToGbk(buffer);
  if (codePage == kCodePageUtf8) return Utf16ToUtf8(buffer);
  return Text();
}

}  // namespace quillorn
