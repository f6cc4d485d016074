#include "translate/cookie_text.h"

#include <unordered_set>

#include "text/operations.h"

namespace quillorn {
namespace {

constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";  // "#引号" in GBK
constexpr std::string_view kDeletedSuffix = "=deleted";

bool IsDeletionItem(std::string_view item) { return item.ends_with(kDeletedSuffix); }

}  // namespace

Text TextBetween(std::string_view text, std::string_view left, std::string_view right, int startPos,
                 bool caseSensitive) {
  const Text leftMarker = Replace(left, kQuoteMarker, "\"");
  const Text rightMarker = Replace(right, kQuoteMarker, "\"");
  const int found = Find(text, leftMarker, startPos, !caseSensitive);
  if (found == -1) return Text();
  const int begin = found + static_cast<int>(leftMarker.size());
  const int end = Find(text, rightMarker, begin, !caseSensitive);
  if (end == -1) return Text();
  return MiddlePart(text, begin, end - begin);
}

Text CookieName(std::string_view item) {
  const int equals = Find(item, "=");
  if (equals == -1) return Trim(item);
  return Trim(item.substr(0, static_cast<std::size_t>(equals) - 1));
}

bool HasCookieName(const TextList& items, std::string_view name) {
  for (const Text& item : items) {
    if (CookieName(item) == name) return true;
  }
  return false;
}

int IndexOfText(const TextList& items, std::string_view text) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i) + 1;
  }
  return -1;
}

Text JoinDistinct(std::string_view text, std::string_view separator) {
  const TextList pieces = Split(text, separator);
  // A hash set gives the same answer as looking each piece up among those taken before it.
  std::unordered_set<std::string_view> taken;
  Text result;
  result.reserve(text.size() + separator.size());
  for (const Text& piece : pieces) {
    if (!taken.insert(piece).second) continue;
    result.append(piece);
    result.append(separator);
  }
  result.resize(result.size() >= separator.size() ? result.size() - separator.size() : 0);
  return result;
}

Text MergeCookies(Text& current, Text& incoming) {
  current = RemoveSpaces(current);
  incoming = RemoveSpaces(incoming);
  const TextList oldItems = Split(current, ";");
  TextList working = Split(incoming, ";");

  // Names present in the working list; an old item joins only when its name is not there yet,
  // and joining adds its name, so of several old items with one name only the first survives.
  std::unordered_set<Text> names;
  for (const Text& item : working) names.insert(CookieName(item));
  for (const Text& item : oldItems) {
    if (names.insert(CookieName(item)).second) working.push_back(item);
  }

  Text joined;
  for (const Text& item : working) {
    if (IsDeletionItem(item)) continue;
    joined.append(item);
    joined.append("; ");
  }
  if (!joined.empty()) joined.resize(joined.size() - 2);
  current = JoinDistinct(joined, "; ");
  return current;
}

}  // namespace quillorn
