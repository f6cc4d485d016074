// Conversions between code page 936 text, UTF-16 and UTF-8.
//
// Code page 936 is the Windows table (ICU's "windows-936-2000"): 0x80 is the euro sign, A1 AF is
// U+2019, A1 AA is U+2014 and D6 D0 is U+4E2D.
//
// Bytes that are not valid GBK each become U+FFFD: a lead byte without a valid trail byte gives
// U+FFFD and the byte after it is read again on its own; a lone trailing lead byte gives U+FFFD.
// The bytes 0x80 and 0xFF of the table are handled as ICU's table maps them.
// Characters that GBK cannot hold, lone surrogates included, become "?" (0x3F).
// Invalid UTF-8 becomes U+FFFD; a lone surrogate written to UTF-8 becomes EF BF BD.
// Each function is safe to call from any thread.
#ifndef QUILLORN_TEXT_CODEPAGE_H_
#define QUILLORN_TEXT_CODEPAGE_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace quillorn {

// GbkToUtf16("\xD6\xD0") == u"\u4E2D"
std::u16string GbkToUtf16(std::string_view gbk);

// Utf16ToGbk(u"\u4E2D") == "\xD6\xD0", Utf16ToGbk(u"\U0001F600") == "?"
// The result is a text, so it ends at the first zero code unit.
Text Utf16ToGbk(std::u16string_view utf16);

// Utf8ToUtf16("\xE4\xB8\xAD") == u"\u4E2D"
std::u16string Utf8ToUtf16(std::string_view utf8);

// Utf16ToUtf8(u"\u4E2D") == "\xE4\xB8\xAD"; zero code units are kept.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Utf8ToGbk("\xE4\xB8\xAD") == "\xD6\xD0"; for texts written in UTF-8 in the source.
Text Utf8ToGbk(std::string_view utf8);

// The same two conversions into a buffer of the caller's: `out` must hold gbk.size() code units,
// or 2 * utf16.size() bytes. They return how many units or bytes they wrote (0 on failure), and
// the second does not stop at a zero code unit.
std::size_t GbkToUtf16(std::string_view gbk, char16_t* out);
std::size_t Utf16ToGbk(std::u16string_view utf16, char* out);

}  // namespace quillorn

#endif  // QUILLORN_TEXT_CODEPAGE_H_
