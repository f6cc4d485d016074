#include "translate/escape_decoding.h"

#include <algorithm>
#include <memory>

#include "text/codepage.h"

namespace quillorn {
namespace {

constexpr std::string_view kCrLfStandIn = "{$}";
constexpr std::string_view kRightQuote = "\xA1\xAF";  // U+2019 in GBK

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The value of `count` hex digits at `at`, or -1 when there are not that many.
int HexAt(std::u16string_view text, std::size_t at, std::size_t count) {
  if (text.size() < at || text.size() - at < count) return -1;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int digit = HexValue(text[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Working memory of one thread's calls. Keeping it between calls spares the allocation and
// first touch of fresh pages for every long text; very large buffers are given back.
template <typename T>
class ScratchBuffer {
 public:
  T* Get(std::size_t count) {
    if (count + 1 > capacity_) {
      data_ = std::make_unique_for_overwrite<T[]>(count + 1);
      capacity_ = count + 1;
    }
    return data_.get();
  }
  void Release() {
    if (capacity_ * sizeof(T) > kKeptBytes) {
      data_.reset();
      capacity_ = 0;
    }
  }

 private:
  static constexpr std::size_t kKeptBytes = std::size_t{64} << 20;
  std::unique_ptr<T[]> data_;
  std::size_t capacity_ = 0;
};

thread_local ScratchBuffer<char> scratchBytes;
thread_local ScratchBuffer<char16_t> scratchUnits;

constexpr std::size_t kInvalidLiteral = static_cast<std::size_t>(-1);

// Reads units[0, length) as the body of a single-quoted string literal and writes its value
// over the front of the same buffer (a value is never longer than its body). Returns the
// value's length, or kInvalidLiteral when the body is no valid literal body.
std::size_t ReadStringLiteralInPlace(char16_t* units, std::size_t length) {
  const std::u16string_view body(units, length);
  std::size_t w = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t c = units[i];
    if (c == u'\r' || c == u'\n') return kInvalidLiteral;
    if (c != u'\\') {
      units[w++] = c;
      continue;
    }
    if (++i == length) return kInvalidLiteral;  // the backslash would escape the closing quote
    const char16_t e = units[i];
    switch (e) {
      case u'b':
        units[w++] = u'\b';
        break;
      case u't':
        units[w++] = u'\t';
        break;
      case u'n':
        units[w++] = u'\n';
        break;
      case u'f':
        units[w++] = u'\f';
        break;
      case u'r':
        units[w++] = u'\r';
        break;
      case u'\r':
      case u'\n':
        return kInvalidLiteral;  // no line continuation in this edition
      case u'0': {
        const bool digitFollows = i + 1 < length && units[i + 1] >= u'0' && units[i + 1] <= u'9';
        units[w++] = digitFollows ? e : u'\0';
        break;
      }
      case u'x':
      case u'u': {
        const std::size_t digits = e == u'x' ? 2 : 4;
        const int value = HexAt(body, i + 1, digits);
        if (value < 0) {
          units[w++] = e;
        } else {
          units[w++] = static_cast<char16_t>(value);
          i += digits;
        }
        break;
      }
      default:
        units[w++] = e;
        break;  // \' \" \\ and every character that starts no escape
    }
  }
  return w;
}

// The standard unescape over units[0, length), written over the front of the same buffer.
std::size_t UnescapeInPlace(char16_t* units, std::size_t length) {
  const std::u16string_view text(units, length);
  std::size_t w = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t c = units[i];
    if (c == u'%') {
      if (i + 1 < length && units[i + 1] == u'u') {
        const int value = HexAt(text, i + 2, 4);
        if (value >= 0) {
          units[w++] = static_cast<char16_t>(value);
          i += 5;
          continue;
        }
      }
      const int value = HexAt(text, i + 1, 2);
      if (value >= 0) {
        units[w++] = static_cast<char16_t>(value);
        i += 2;
        continue;
      }
    }
    units[w++] = c;
  }
  return w;
}

}  // namespace

bool ReadStringLiteral(std::u16string_view body, std::u16string& out) {
  out.assign(body);
  const std::size_t length = ReadStringLiteralInPlace(out.data(), out.size());
  if (length == kInvalidLiteral) {
    out.clear();
    return false;
  }
  out.resize(length);
  return true;
}

std::u16string Unescape(std::u16string_view text) {
  std::u16string out(text);
  out.resize(UnescapeInPlace(out.data(), out.size()));
  return out;
}

Text UnescapeText(std::string_view text) {
  if (text.empty()) return Text();

  // Steps 1 to 4 in one pass: CR LF to "{$}", one CR dropped at the start, "\u" to "%u" and
  // the apostrophe to the right single quotation mark. None of them changes where the
  // characters after it begin, so one walk over the characters gives the result of the four.
  char* protectedText = scratchBytes.Get(text.size() * 2);
  char* o = protectedText;
  std::size_t i = 0;
  if (text[0] == '\r' && !(text.size() >= 2 && text[1] == '\n')) i = 1;
  while (i < text.size()) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      *o++ = c;
      if (i + 1 < text.size()) *o++ = text[i + 1];
      i += 2;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      o = std::copy(kCrLfStandIn.begin(), kCrLfStandIn.end(), o);
      i += 2;
    } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'u') {
      *o++ = '%';
      *o++ = 'u';
      i += 2;
    } else if (c == '\'') {
      o = std::copy(kRightQuote.begin(), kRightQuote.end(), o);
      i += 1;
    } else {
      *o++ = c;
      i += 1;
    }
  }
  const std::string_view protectedView(protectedText, static_cast<std::size_t>(o - protectedText));

  // The body of a single-quoted string literal, then the standard unescape over its value.
  char16_t* units = scratchUnits.Get(protectedView.size());
  const std::size_t unitCount = GbkToUtf16(protectedView, units);
  const std::size_t literalLength = ReadStringLiteralInPlace(units, unitCount);
  Text result;
  if (literalLength != kInvalidLiteral) {
    std::u16string_view value(units, UnescapeInPlace(units, literalLength));
    value = value.substr(0, value.find(u'\0'));  // a text ends at a zero character
    char* decoded = scratchBytes.Get(value.size() * 2);
    const std::size_t decodedLength = Utf16ToGbk(value, decoded);

    // Steps 6 and 7 in one pass, in place: the right single quotation mark back to the
    // apostrophe, and "{$}" to CR LF. Neither makes the text longer.
    const std::string_view in(decoded, decodedLength);
    char* w = decoded;
    for (std::size_t k = 0; k < in.size();) {
      const char c = in[k];
      if (static_cast<unsigned char>(c) >= 0x80) {
        if (in.compare(k, kRightQuote.size(), kRightQuote) == 0) {
          *w++ = '\'';
        } else {
          *w++ = c;
          if (k + 1 < in.size()) *w++ = in[k + 1];
        }
        k += 2;
      } else if (c == '{' && in.compare(k, kCrLfStandIn.size(), kCrLfStandIn) == 0) {
        *w++ = '\r';
        *w++ = '\n';
        k += kCrLfStandIn.size();
      } else {
        *w++ = c;
        k += 1;
      }
    }
    result.assign(decoded, static_cast<std::size_t>(w - decoded));
  }
  scratchBytes.Release();
  scratchUnits.Release();
  return result;
}

}  // namespace quillorn
