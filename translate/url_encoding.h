// UTF-8 conversion of program text and the percent-encoding of the translation request.
//
// All functions are pure, keep no state and may run on any thread.
#ifndef QUILLORN_TRANSLATE_URL_ENCODING_H_
#define QUILLORN_TRANSLATE_URL_ENCODING_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace quillorn {

inline constexpr int kCodePageAnsi = 0;  // the program's ANSI code page, which is 936
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// Percent-encodes the bytes of `text` (or of its UTF-8 form when `toUtf8`). Each byte becomes
// "%" and two upper-case hexadecimal digits, except that with `keepUnreserved` the bytes '-',
// '.', '0'-'9', 'A'-'Z' and 'a'-'z' stand for themselves. Works on bytes.
//   UrlEncode("Hello world", true, true) == "Hello%20world"
//   UrlEncode("a_b~c*d/e", true, true) == "a%5Fb%7Ec%2Ad%2Fe"
//   UrlEncode("\xD6\xD0", true, true) == "%E4%B8%AD", UrlEncode("\xD6\xD0", true) == "%D6%D0"
//   UrlEncode("ab") == "%61%62"
Text UrlEncode(std::string_view text, bool keepUnreserved = false, bool toUtf8 = false);

// The same characters as UTF-8; the text is always read as GBK.
//   AnsiToUtf8("abc") == "abc", AnsiToUtf8("\xD6\xD0") == "\xE4\xB8\xAD"
//   AnsiToUtf8("\xA6\xC1") == "\xCE\xB1" (Greek alpha keeps two bytes)
Text AnsiToUtf8(std::string_view text);

// A UTF-16 buffer: the code units of `text` read in `codePage` (936, 65001, or 0 for the ANSI
// code page), followed by one zero code unit that belongs to the buffer. An unknown code page
// gives a buffer that holds only the terminator.
//   MultiByteToUtf16("\xD6\xD0", 936) == std::u16string(u"\u4E2D\0", 2)
std::u16string MultiByteToUtf16(std::string_view text, int codePage = kCodePageUtf8);

// The text of a UTF-16 buffer in `codePage`, up to its first zero code unit. An unknown code
// page gives the empty text.
//   Utf16ToMultiByte(u"\u4E2D", 65001) == "\xE4\xB8\xAD"
Text Utf16ToMultiByte(std::u16string_view buffer, int codePage = kCodePageAnsi);

}  // namespace quillorn

#endif  // QUILLORN_TRANSLATE_URL_ENCODING_H_
