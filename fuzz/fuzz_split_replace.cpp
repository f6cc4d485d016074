// Split pieces join back into the text, and Replace agrees with a loop over Find.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "text/operations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string sought = provider.ConsumeRandomLengthString(4);
  const std::string replacement = provider.ConsumeRandomLengthString(4);
  const int count = provider.ConsumeIntegralInRange(-1, 8);
  const bool caseSensitive = provider.ConsumeBool();
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const quillorn::TextList pieces = quillorn::Split(text, sought);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += sought;
    joined += pieces[i];
  }
  if (joined != text && joined + sought != text) std::abort();
  if (text.empty() != pieces.empty()) std::abort();

  std::string expected;
  int done = 1, replaced = 0;
  while (!sought.empty() && (count < 0 || replaced < count)) {
    const int at = quillorn::Find(text, sought, done, !caseSensitive);
    if (at == -1) break;
    expected += text.substr(done - 1, at - done) + replacement;
    done = at + static_cast<int>(sought.size());
    ++replaced;
  }
  expected += text.substr(std::min<std::size_t>(done - 1, text.size()));
  if (quillorn::Replace(text, sought, replacement, count, caseSensitive) != expected) std::abort();
  if (quillorn::Replace(text, sought, sought, count, true) != text) std::abort();
  return 0;
}
