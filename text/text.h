// The text type of the program and its conversions to and from byte arrays and numbers.
//
// A text is a sequence of bytes in code page 936 (GBK) with no zero byte inside. A character is
// one byte below 0x80, or two bytes of which the first is 0x80 or above. Positions are 1-based
// and, like lengths, count bytes. A missing text is the empty text, so every function here takes
// std::string_view and an empty view stands for "no text".
#ifndef QUILLORN_TEXT_TEXT_H_
#define QUILLORN_TEXT_TEXT_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillorn {

using Text = std::string;
using TextList = std::vector<Text>;  // 1-based where positions are given out
using ByteArray = std::vector<std::uint8_t>;

// True when `byte` starts a double-byte character (0x80 or above).
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// The bytes of `text`, without a terminating zero.
//   BytesFromText("ab") == {0x61, 0x62}
ByteArray BytesFromText(std::string_view text);

// The bytes up to the first zero byte, or all of them when there is none.
//   TextFromBytes({0x61, 0x00, 0x62}) == "a"
Text TextFromBytes(std::span<const std::uint8_t> bytes);

// Decimal text of a whole number, with a minus sign for negatives.
//   DecimalText(-12) == "-12"
Text DecimalText(std::int64_t number);

// Reads a decimal whole number from the start of `text`: an optional "+" or "-" followed by
// digits. Leading ASCII spaces and tabs are skipped; anything after the digits is ignored.
// Text that does not begin with a number gives 0; values beyond int's range are clamped.
//   DecimalNumber("57") == 57, DecimalNumber("13abc") == 13, DecimalNumber("x1") == 0
int DecimalNumber(std::string_view text);

// Upper-case hexadecimal digits without leading zeros; negative numbers are shown as their
// 32-bit two's complement.
//   HexText(10) == "A", HexText(255) == "FF", HexText(0) == "0", HexText(-1) == "FFFFFFFF"
Text HexText(std::int64_t number);

// A floating-point value truncated toward zero, clamped to int's range; NaN gives 0.
//   WholeNumber(2.9) == 2, WholeNumber(-2.9) == -2
int WholeNumber(double value);

}  // namespace quillorn

#endif  // QUILLORN_TEXT_TEXT_H_
