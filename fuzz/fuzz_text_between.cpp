// TextBetween never crashes and gives a sub-text of its input that stands behind the left marker.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "text/operations.h"
#include "translate/cookie_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string left = provider.ConsumeRandomLengthString(8);
  const std::string right = provider.ConsumeRandomLengthString(8);
  const int start = provider.ConsumeIntegralInRange(-2, 64);
  const bool caseSensitive = provider.ConsumeBool();
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const quillorn::Text between = quillorn::TextBetween(text, left, right, start, caseSensitive);
  if (between.empty()) return 0;
  if (text.find(between) == std::string::npos) std::abort();
  // The left marker (with its quote stand-in replaced) was found somewhere in the text.
  const quillorn::Text marker = quillorn::Replace(left, "#\xD2\xFD\xBA\xC5", "\"");
  if (quillorn::Find(text, marker, start, !caseSensitive) == -1) std::abort();
  return 0;
}
