// The text operations whose edge behaviour the rest of the program relies on.
//
// All of them work on bytes of code page 936 text. Searches step through the text character by
// character: a byte of 0x80 or above is taken together with the byte after it, so a match never
// begins on the second byte of a double-byte character. Positions are 1-based byte positions.
// A space is the ASCII space 0x20 or the ideographic space A1 A1; tab, CR and LF are not spaces.
// Every function returns a new text and leaves its arguments alone.
#ifndef QUILLORN_TEXT_OPERATIONS_H_
#define QUILLORN_TEXT_OPERATIONS_H_

#include <string_view>

#include "text/text.h"

namespace quillorn {

// Below, equal to or above zero: byte by byte as unsigned values, with case.
//   Compare("", "") == 0, Compare("a", "b") < 0, Compare("\x80", "a") > 0
int Compare(std::string_view a, std::string_view b);

// 1-based position of the first occurrence of `sought` that begins at or after `start`, or -1.
// A start below 1 means the first byte; the search steps character by character from there.
// With `ignoreCase`, A-Z and a-z match each other and every other byte must be equal. An empty
// `sought` is never found.
//   Find("ab", "b", 0) == 2, Find("ab", "b", 3) == -1
//   Find("\xC4\xE3\xBA\xC3", "\xE3\xBA") == -1
//   Find("Set-Cookie:", "set-cookie:", 1, true) == 1
int Find(std::string_view text, std::string_view sought, int start = 1, bool ignoreCase = false);

// The text without spaces at its beginning and end.
//   Trim("  a b \xA1\xA1") == "a b", Trim("\tx\r\n") == "\tx\r\n"
Text Trim(std::string_view text);

// The text without any space anywhere; double-byte characters are otherwise kept whole.
//   RemoveSpaces("a = 1 ;b") == "a=1;b"
Text RemoveSpaces(std::string_view text);

inline constexpr int kReplaceAll = -1;

// Replaces occurrences of `sought` from left to right; the scan goes on behind each replaced
// occurrence, so a replacement is never searched again. A negative `count` replaces all of
// them, otherwise at most `count`. An empty `sought` leaves the text unchanged.
//   Replace("aaa", "a", "aa") == "aaaaaa", Replace("abab", "B", "x", 1, false) == "axab"
Text Replace(std::string_view text, std::string_view sought, std::string_view replacement,
             int count = kReplaceAll, bool caseSensitive = true);

// The first, or last, `count` bytes; a count of 0 or less gives "", a count beyond the end is
// cut to the text.
//   LeftPart("abc", 5) == "abc", LeftPart("abc", 0) == "", RightPart("abc", 2) == "bc"
Text LeftPart(std::string_view text, int count);
Text RightPart(std::string_view text, int count);

// `count` bytes from the 1-based `start`; a start below 1 means the first byte, a start beyond
// the end gives "".
//   MiddlePart("abcde", 2, 3) == "bcd", MiddlePart("abc", 3, 9) == "c"
Text MiddlePart(std::string_view text, int start, int count);

// The pieces between separators, in order. An empty text gives no piece; an empty piece between
// two adjacent separators (or before a leading one) is kept; a separator at the very end adds no
// empty piece. An empty separator gives the whole text as one piece.
//   Split("a;;b", ";") == {"a", "", "b"}, Split("a;b;", ";") == {"a", "b"}
//   Split(";", ";") == {""}, Split("", ";") == {}
TextList Split(std::string_view text, std::string_view separator);

// A to Z turned into a to z; double-byte characters are stepped over unchanged.
//   LowerCase("AbC\xB0\x41") == "abc\xB0\x41"
Text LowerCase(std::string_view text);

}  // namespace quillorn

#endif  // QUILLORN_TEXT_OPERATIONS_H_
