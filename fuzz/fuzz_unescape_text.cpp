// UnescapeText never crashes, never gives a zero byte, and leaves plain text alone.
#include <cstdlib>
#include <string>

#include "translate/escape_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  input = input.substr(0, input.find('\0'));  // a text holds no zero byte
  const quillorn::Text decoded = quillorn::UnescapeText(input);
  if (decoded.find('\0') != std::string::npos) std::abort();

  bool plain = true;  // printable ASCII with nothing the decoder acts on
  for (const char c : input) {
    if (c < 0x20 || c > 0x7E || c == '\\' || c == '%' || c == '{') plain = false;
  }
  if (plain && decoded != input) std::abort();
  return 0;
}
