// Cookie texts ("a=1; b=2") and the marker search that cuts a piece out of a larger text.
//
// All functions work on bytes of code page 936 text; searches never begin a match on the second
// byte of a double-byte character, and spaces are 0x20 and the ideographic space A1 A1.
#ifndef QUILLORN_TRANSLATE_COOKIE_TEXT_H_
#define QUILLORN_TRANSLATE_COOKIE_TEXT_H_

#include <string_view>

#include "text/text.h"

namespace quillorn {

// The text between the first `left` marker at or after `startPos` and the next `right` marker,
// or "" when either is missing. In both markers "#引号" (GBK 23 D2 FD BA C5) stands for a double
// quote. ASCII letters match regardless of case unless `caseSensitive`.
//   TextBetween("Set-Cookie: sid=ab12; path=/", "set-cookie:", ";") == " sid=ab12"
//   TextBetween("x=1", "x=", ";") == ""
Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 int startPos = 1, bool caseSensitive = false);

// Merges the cookies a response set (`incoming`) into `current`. Spaces are removed from both
// (and written back); incoming items come first in their order, then the old items whose name
// no incoming item has, the first of each name only; items ending in "=deleted" and exact
// repeats are dropped. The result, joined by "; ", is stored in `current` and returned.
//   current "a=1; b=2", incoming "b=3; c=4" -> current "b=3; c=4; a=1", incoming "b=3;c=4"
//   current "a=1; b=2", incoming "a=deleted" -> "b=2"
Text MergeCookies(Text& current, Text& incoming);

// The name of a cookie item: the part before its first "=", or the whole item, trimmed.
//   CookieName(" sid =x") == "sid", CookieName("flag") == "flag"
Text CookieName(std::string_view item);

// True when some item of `items` has the name `name` (byte for byte).
bool HasCookieName(const TextList& items, std::string_view name);

// The pieces of `text` at `separator`, each distinct piece once in order of first appearance,
// joined by `separator`.
//   JoinDistinct("a; b; a", "; ") == "a; b", JoinDistinct("", "; ") == ""
Text JoinDistinct(std::string_view text, std::string_view separator);

// The 1-based index of the first item equal to `text` byte for byte, or -1.
int IndexOfText(const TextList& items, std::string_view text);

}  // namespace quillorn

#endif  // QUILLORN_TRANSLATE_COOKIE_TEXT_H_
