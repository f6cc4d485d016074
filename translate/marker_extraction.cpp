#include "translate/marker_extraction.h"

#include "text/operations.h"

namespace quillorn {

int AllTextsBetween(std::string_view text, std::string_view left, std::string_view right,
                    TextList& items, const ExtractionOptions& options) {
  items.clear();
  const bool ignoreCase = !options.caseSensitive;
  int position = options.startPosition < 1 ? 1 : options.startPosition;
  for (;;) {
    const int leftAt = Find(text, left, position, ignoreCase);
    if (leftAt == -1) break;
    const int itemAt = leftAt + static_cast<int>(left.size());
    const int rightAt = Find(text, right, itemAt, ignoreCase);
    if (rightAt == -1) break;
    const Text item = Trim(text.substr(static_cast<std::size_t>(itemAt) - 1,
                                       static_cast<std::size_t>(rightAt - itemAt)));
    if (item.empty()) break;
    if (options.maximumLength != 0 && static_cast<long long>(item.size()) > options.maximumLength) {
      break;
    }
    Text stored;
    stored.reserve(left.size() + options.prefix.size() + item.size() + options.suffix.size() +
                   right.size());
    if (options.includeLeftMarker) stored.append(left);
    stored.append(options.prefix);
    stored.append(item);
    stored.append(options.suffix);
    if (options.includeRightMarker) stored.append(right);
    items.push_back(std::move(stored));
    position = rightAt;
  }
  return static_cast<int>(items.size());
}

}  // namespace quillorn
