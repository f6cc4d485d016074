// MergeCookies gives exactly the result of the plain definition (list lookups instead of hash
// sets) and a well-formed cookie text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "text/operations.h"
#include "translate/cookie_text.h"

namespace {

using quillorn::Text;
using quillorn::TextList;

Text ReferenceMerge(Text current, Text incoming) {
  current = quillorn::RemoveSpaces(current);
  incoming = quillorn::RemoveSpaces(incoming);
  const TextList old = quillorn::Split(current, ";");
  TextList working = quillorn::Split(incoming, ";");
  for (const Text& item : old) {
    if (!quillorn::HasCookieName(working, quillorn::CookieName(item))) working.push_back(item);
  }
  Text joined;
  for (const Text& item : working) {
    if (quillorn::RightPart(item, 8) != "=deleted") joined += item + "; ";
  }
  joined = quillorn::LeftPart(joined, static_cast<int>(joined.size()) - 2);
  TextList taken;
  Text result;
  for (const Text& piece : quillorn::Split(joined, "; ")) {
    if (quillorn::IndexOfText(taken, piece) == -1) {
      taken.push_back(piece);
      result += piece + "; ";
    }
  }
  return quillorn::LeftPart(result, static_cast<int>(result.size()) - 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  Text current = provider.ConsumeRandomLengthString(2048);
  Text incoming = provider.ConsumeRemainingBytesAsString();
  for (Text* t : {&current, &incoming}) *t = t->substr(0, t->find('\0'));
  const Text expected = ReferenceMerge(current, incoming);
  const Text expectedIncoming = quillorn::RemoveSpaces(incoming);

  const Text result = quillorn::MergeCookies(current, incoming);
  if (result != expected || current != expected || incoming != expectedIncoming) std::abort();
  const TextList items = quillorn::Split(result, "; ");
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].ends_with("=deleted")) std::abort();
    for (std::size_t k = 0; k < i; ++k) {
      if (items[k] == items[i]) std::abort();
    }
  }
  return 0;
}
