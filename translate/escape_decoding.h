// Decoding of the escaped texts in the translation service's reply.
#ifndef QUILLORN_TRANSLATE_ESCAPE_DECODING_H_
#define QUILLORN_TRANSLATE_ESCAPE_DECODING_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace quillorn {

// Turns one escaped reply text into readable code page 936 text. Backslash-u escapes become
// their characters, a backslash before a slash or quote is dropped, "%XX" and "%uXXXX" are
// decoded, CR LF pairs and the three characters "{$}" come back as CR LF, and apostrophes and
// right single quotation marks come back as apostrophes. A text that is not a valid string body
// (a lone CR or LF, or an odd number of backslashes at its end) gives "". Nothing in the text is
// ever run. Characters that GBK cannot hold become "?", and the result ends at a decoded zero
// character. Keeps no state; safe on any thread.
//   UnescapeText("\\u4e66") == "\xCA\xE9", UnescapeText("a\\/b") == "a/b"
//   UnescapeText("%41") == "A", UnescapeText("\\\\u0041") == "A", UnescapeText("x\\") == ""
Text UnescapeText(std::string_view text);

// The code units of a single-quoted string literal whose body is `body`, read by the escape
// rules of ECMA-262 3rd edition (section 7.8.4). A backslash before a character that starts no
// escape gives that character; "\0" gives a zero code unit; "\x" and "\u" without their hex
// digits give "x" and "u". False when the body holds a raw CR or LF, or ends in a backslash.
//   ReadStringLiteral(u"a\\tb\\/") == u"a\tb/"
bool ReadStringLiteral(std::u16string_view body, std::u16string& out);

// The standard unescape function (ECMA-262 3rd edition, Annex B.2.2): "%uXXXX" and "%XX" with
// hex digits of either case become the code unit they denote; everything else stays.
//   Unescape(u"%u4E66%41%G1") == u"\u4E66A%G1"
std::u16string Unescape(std::u16string_view text);

}  // namespace quillorn

#endif  // QUILLORN_TRANSLATE_ESCAPE_DECODING_H_
