#include "text/operations.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillorn {
namespace {

// Number of bytes of the character that begins at `i`: two for a lead byte, unless the text
// ends right after it.
inline std::size_t CharWidth(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

inline unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

inline bool MatchesAt(std::string_view text, std::size_t i, std::string_view sought,
                      bool ignoreCase) {
  if (text.size() - i < sought.size()) return false;
  if (!ignoreCase) return std::memcmp(text.data() + i, sought.data(), sought.size()) == 0;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    if (FoldAscii(static_cast<unsigned char>(text[i + k])) !=
        FoldAscii(static_cast<unsigned char>(sought[k]))) {
      return false;
    }
  }
  return true;
}

// 0-based offset of the first match at or after the 0-based `from`, stepping by characters;
// npos when there is none.
std::size_t FindFrom(std::string_view text, std::string_view sought, std::size_t from,
                     bool ignoreCase) {
  if (sought.empty() || sought.size() > text.size()) return std::string_view::npos;
  const std::size_t last = text.size() - sought.size();
  const unsigned char first = static_cast<unsigned char>(sought[0]);
  const unsigned char firstFolded = FoldAscii(first);
  for (std::size_t i = from; i <= last;) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      // Fast path: an ASCII byte can only begin a match when it equals the sought first byte.
      if ((c == first || (ignoreCase && FoldAscii(c) == firstFolded)) &&
          MatchesAt(text, i, sought, ignoreCase)) {
        return i;
      }
      ++i;
    } else {
      if (MatchesAt(text, i, sought, ignoreCase)) return i;
      i += 2;
    }
  }
  return std::string_view::npos;
}

inline bool IsSpaceAt(std::string_view text, std::size_t i, std::size_t width) {
  return (width == 1 && text[i] == ' ') ||
         (width == 2 && text[i] == '\xA1' && text[i + 1] == '\xA1');
}

}  // namespace

int Compare(std::string_view a, std::string_view b) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int Find(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    text = text.substr(0, std::numeric_limits<int>::max());
  }
  const std::size_t at = FindFrom(text, sought, from, ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

Text Trim(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t width = CharWidth(text, begin);
    if (!IsSpaceAt(text, begin, width)) break;
    begin += width;
  }
  // Walk characters from the start so that a trailing A1 A1 is only taken when it really is
  // one character.
  std::size_t end = begin;
  for (std::size_t i = begin; i < text.size();) {
    const std::size_t width = CharWidth(text, i);
    if (!IsSpaceAt(text, i, width)) end = i + width;
    i += width;
  }
  return Text(text.substr(begin, end - begin));
}

Text RemoveSpaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharWidth(text, i);
    if (!IsSpaceAt(text, i, width)) result.append(text.substr(i, width));
    i += width;
  }
  return result;
}

Text Replace(std::string_view text, std::string_view sought, std::string_view replacement,
             int count, bool caseSensitive) {
  if (sought.empty() || count == 0) return Text(text);
  Text result;
  result.reserve(text.size());
  std::size_t done = 0;  // bytes of `text` already copied or replaced
  int replaced = 0;
  while (count < 0 || replaced < count) {
    const std::size_t at = FindFrom(text, sought, done, !caseSensitive);
    if (at == std::string_view::npos) break;
    result.append(text.substr(done, at - done));
    result.append(replacement);
    done = at + sought.size();
    ++replaced;
  }
  result.append(text.substr(done));
  return result;
}

Text LeftPart(std::string_view text, int count) {
  if (count <= 0) return Text();
  return Text(text.substr(0, static_cast<std::size_t>(count)));
}

Text RightPart(std::string_view text, int count) {
  if (count <= 0) return Text();
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
  return Text(text.substr(text.size() - n));
}

Text MiddlePart(std::string_view text, int start, int count) {
  if (count <= 0) return Text();
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return Text();
  return Text(text.substr(from, static_cast<std::size_t>(count)));
}

TextList Split(std::string_view text, std::string_view separator) {
  TextList pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t at = FindFrom(text, separator, from, false);
    if (at == std::string_view::npos) {
      pieces.emplace_back(text.substr(from));
      break;
    }
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  return pieces;
}

Text LowerCase(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size();) {
    const std::size_t width = CharWidth(result, i);
    if (width == 1) result[i] = static_cast<char>(FoldAscii(static_cast<unsigned char>(result[i])));
    i += width;
  }
  return result;
}

}  // namespace quillorn
