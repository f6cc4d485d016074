// UrlEncode output holds only kept bytes and %XX triples, and decodes back to its source bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "translate/url_encoding.h"

namespace {

bool Kept(unsigned char b) {
  return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z');
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower-case digits are a fault too
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const bool keep = provider.ConsumeBool();
  const bool toUtf8 = provider.ConsumeBool();
  std::string text = provider.ConsumeRemainingBytesAsString();
  text = text.substr(0, text.find('\0'));

  const std::string encoded = quillorn::UrlEncode(text, keep, toUtf8);
  const std::string source = toUtf8 ? quillorn::AnsiToUtf8(text) : text;
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const auto c = static_cast<unsigned char>(encoded[i]);
    if (c == '%') {
      if (i + 2 >= encoded.size()) std::abort();
      const int high = Hex(encoded[i + 1]), low = Hex(encoded[i + 2]);
      if (high < 0 || low < 0) std::abort();
      const auto b = static_cast<unsigned char>(high * 16 + low);
      if (keep && Kept(b)) std::abort();  // a kept byte is never encoded
      decoded.push_back(static_cast<char>(b));
      i += 2;
    } else {
      if (!keep || !Kept(c)) std::abort();
      decoded.push_back(static_cast<char>(c));
    }
  }
  if (decoded != source) std::abort();
  return 0;
}
