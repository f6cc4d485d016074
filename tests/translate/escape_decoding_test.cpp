#include "translate/escape_decoding.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

TEST(UnescapeTextTest, Cases) {
  struct Case {
    std::string_view input, expected;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"\\u4e66", "\xCA\xE9"},
      {"\\u4E66\\u4e2d", "\xCA\xE9\xD6\xD0"},
      {"a\\/b", "a/b"},
      {"\\\"q\\\"", "\"q\""},
      {"it's", "it's"},
      {"it\xA1\xAFs", "it's"},  // a right single quotation mark becomes an apostrophe
      {"it\\u2019s", "it's"},
      {"it\\'s", "it's"},
      {"a\r\nb", "a\r\nb"},
      {"a\\nb", "a\nb"},
      {"a{$}b", "a\r\nb"},
      {"\\t\\r\\b\\f", "\t\r\b\f"},
      {"%41", "A"},
      {"%4", "%4"},
      {"%G1 100%", "%G1 100%"},
      {"%u4e2D", "\xD6\xD0"},
      {"%u12", "%u12"},
      {"\\\\u0041", "A"},
      {"\\\\", "\\"},
      {"\\x41\\x4", "Ax4"},
      {"\\U0041", "U0041"},  // a capital U starts no escape
      {"x\\", ""},           // ends in an unescaped backslash
      {"x\\\\\\", ""},
      {"a\rb", ""},  // a lone CR
      {"a\nb", ""},  // a lone LF
      {"\ra", "a"},  // a CR at the very start is dropped
      {"\r\n", "\r\n"},
      {"\\u00e9", "\xA8\xA6"},    // e with acute, held by GBK
      {"\\ud83d\\ude00!", "?!"},  // no GBK character for it
      {"a\\u0000b", "a"},         // the text ends at a decoded zero
      {"\xD6\xD0\\u4e2d", "\xD6\xD0\xD6\xD0"},
      {"\x81\\u4e2d", "\x81\\u4e2d"},  // 81 5C is one character: no escape there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.input << '"');
    EXPECT_EQ(UnescapeText(c.input), c.expected);
  }
}

TEST(UnescapeTextTest, EveryByteAfterABackslash) {
  for (int b = 1; b < 0x80; ++b) {
    SCOPED_TRACE(b);
    const std::string input = std::string("\\") + static_cast<char>(b) + "z";
    const std::string decoded = UnescapeText(input);
    switch (b) {
      case 'b':
        EXPECT_EQ(decoded, "\bz");
        break;
      case 't':
        EXPECT_EQ(decoded, "\tz");
        break;
      case 'n':
        EXPECT_EQ(decoded, "\nz");
        break;
      case 'f':
        EXPECT_EQ(decoded, "\fz");
        break;
      case 'r':
        EXPECT_EQ(decoded, "\rz");
        break;
      case '0':
        EXPECT_EQ(decoded, "");
        break;  // a zero character ends the text
      case 'u':
        EXPECT_EQ(decoded, "%uz");
        break;  // became "%u", which unescape leaves
      case '\r':
      case '\n':
        EXPECT_EQ(decoded, "");
        break;
      default:
        EXPECT_EQ(decoded, std::string(1, static_cast<char>(b)) + "z");
    }
  }
}

TEST(UnescapeTextTest, EveryByteOnItsOwnAndAfterABackslash) {
  for (int b = 1; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    const std::string alone = UnescapeText(byte + "z");
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      EXPECT_EQ(alone, byte + "z");
    }
    if (b >= 0x80) {
      // A backslash before a character that starts no escape is dropped.
      EXPECT_EQ(UnescapeText("\\" + byte + "z"), alone);
    }
  }
}

TEST(UnescapeTest, PercentForms) {
  EXPECT_EQ(Unescape(u"%u4E66%41%G1%"), u"\u4E66A%G1%");
  EXPECT_EQ(Unescape(u"%u00zz%7e"), u"%u00zz~");
  EXPECT_EQ(Unescape(u"%%41"), u"%A");
}

TEST(ReadStringLiteralTest, ValidAndInvalidBodies) {
  std::u16string out;
  EXPECT_TRUE(ReadStringLiteral(u"a\\tb\\/", out));
  EXPECT_EQ(out, u"a\tb/");
  EXPECT_TRUE(ReadStringLiteral(u"\\u4e2dx\\u4e", out));
  EXPECT_EQ(out, u"\u4E2Dxu4e");
  EXPECT_FALSE(ReadStringLiteral(u"a\\", out));
  EXPECT_FALSE(ReadStringLiteral(u"a\\\nb", out));
  EXPECT_FALSE(ReadStringLiteral(u"a\rb", out));
}

}  // namespace
}  // namespace quillorn
