#include "text/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace quillorn {

ByteArray BytesFromText(std::string_view text) { return ByteArray(text.begin(), text.end()); }

Text TextFromBytes(std::span<const std::uint8_t> bytes) {
  const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), zero);
}

Text DecimalText(std::int64_t number) { return std::to_string(number); }

int DecimalNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

Text HexText(std::int64_t number) {
  char digits[16];
  const auto value = number < 0 ? static_cast<std::uint32_t>(number) : std::uint64_t(number);
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, 16);
  Text hex(digits, end);
  for (char& c : hex) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return hex;
}

int WholeNumber(double value) {
  if (std::isnan(value)) return 0;
  const double truncated = std::trunc(value);
  if (truncated <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (truncated >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(truncated);
}

}  // namespace quillorn
