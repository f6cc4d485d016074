// AllTextsBetween gives exactly the list of the recursive definition: one recursion level per
// item, with the process-wide in-progress marker that keeps inner levels from emptying the list.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "text/operations.h"
#include "translate/marker_extraction.h"

namespace {

using quillorn::ExtractionOptions;
using quillorn::Text;
using quillorn::TextList;

bool inProgress = false;

int Recursive(std::string_view text, std::string_view left, std::string_view right, TextList& items,
              const ExtractionOptions& o, int start) {
  if (!inProgress) {
    items.clear();
    inProgress = true;
  }
  const bool ignoreCase = !o.caseSensitive;
  const int p = start < 1 ? 1 : start;
  const int l = quillorn::Find(text, left, p, ignoreCase);
  if (l == -1) return static_cast<int>(items.size());
  const int from = l + static_cast<int>(left.size());
  const int r = quillorn::Find(text, right, from, ignoreCase);
  if (r == -1) return static_cast<int>(items.size());
  const Text item = quillorn::Trim(quillorn::MiddlePart(text, from, r - from));
  if (item.empty()) return static_cast<int>(items.size());
  if (o.maximumLength != 0 && static_cast<int>(item.size()) > o.maximumLength) {
    return static_cast<int>(items.size());
  }
  Text stored = Text(o.prefix) + item + Text(o.suffix);
  if (o.includeLeftMarker) stored = Text(left) + stored;
  if (o.includeRightMarker) stored += right;
  items.push_back(stored);
  Recursive(text, left, right, items, o, r);
  inProgress = false;
  return static_cast<int>(items.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string left = provider.ConsumeRandomLengthString(6);
  const std::string right = provider.ConsumeRandomLengthString(6);
  const std::string prefix = provider.ConsumeRandomLengthString(3);
  const std::string suffix = provider.ConsumeRandomLengthString(3);
  ExtractionOptions options;
  options.caseSensitive = provider.ConsumeBool();
  options.maximumLength = provider.ConsumeIntegralInRange(-1, 16);
  options.prefix = prefix;
  options.suffix = suffix;
  options.includeLeftMarker = provider.ConsumeBool();
  options.includeRightMarker = provider.ConsumeBool();
  options.startPosition = provider.ConsumeIntegralInRange(-2, 32);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  TextList items{"stale"};
  const int count = quillorn::AllTextsBetween(text, left, right, items, options);
  TextList expected;
  inProgress = false;  // every call from outside starts with an empty list
  const int expectedCount = Recursive(text, left, right, expected, options, options.startPosition);
  if (count != expectedCount || items != expected) std::abort();
  if (count != static_cast<int>(items.size())) std::abort();
  if (prefix.empty() && suffix.empty() && !options.includeLeftMarker &&
      !options.includeRightMarker) {
    for (const Text& item : items) {
      if (item.empty() || text.find(item) == std::string::npos) std::abort();
    }
  }
  return 0;
}
