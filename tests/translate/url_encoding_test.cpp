#include "translate/url_encoding.h"

#include <gtest/gtest.h>

#include "text/text.h"

namespace quillorn {
namespace {

TEST(UrlEncodeTest, Cases) {
  struct Case {
    std::string_view text;
    bool keepUnreserved, toUtf8;
    std::string_view expected;
  };
  const Case cases[] = {
      {"Hello world", true, true, "Hello%20world"},
      {"a_b~c*d/e", true, true, "a%5Fb%7Ec%2Ad%2Fe"},
      {"3.5-2", true, true, "3.5-2"},
      {"\xD6\xD0", true, true, "%E4%B8%AD"},
      {"\xD6\xD0", true, false, "%D6%D0"},
      {"ab", false, false, "%61%62"},
      {"ab", false, true, "%61%62"},
      {"\xAD\t", false, false, "%AD%09"},
      {"a\r\nb", true, true, "a%0D%0Ab"},
      {"", false, false, ""},
      {"", true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.text << " keep=" << c.keepUnreserved << " utf8=" << c.toUtf8);
    EXPECT_EQ(UrlEncode(c.text, c.keepUnreserved, c.toUtf8), c.expected);
  }
}

TEST(UrlEncodeTest, EveryByteValue) {
  for (int b = 1; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string text(1, static_cast<char>(b));
    const bool kept = b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                      (b >= 'a' && b <= 'z');
    const std::string encoded = "%" + (b < 0x10 ? "0" + HexText(b) : HexText(b));
    EXPECT_EQ(UrlEncode(text), encoded);
    EXPECT_EQ(UrlEncode(text, true), kept ? text : encoded);
  }
}

TEST(AnsiToUtf8Test, LengthsFollowTheCharacters) {
  EXPECT_EQ(AnsiToUtf8("Hello, world!"), "Hello, world!");
  EXPECT_EQ(AnsiToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");  // 2 bytes become 3
  EXPECT_EQ(AnsiToUtf8("\xA6\xC1"), "\xCE\xB1");      // Greek alpha keeps 2
  EXPECT_EQ(AnsiToUtf8("\xA8\xA6"), "\xC3\xA9");      // pinyin e with acute keeps 2
  EXPECT_EQ(AnsiToUtf8("a\x80"
                       "b"),
            "a\xE2\x82\xAC"
            "b");  // the euro sign
  EXPECT_EQ(AnsiToUtf8(""), "");
}

TEST(Utf16BufferTest, BufferEndsInOneZeroUnitAndReadsStopThere) {
  EXPECT_EQ(MultiByteToUtf16("\xD6\xD0", kCodePageGbk), std::u16string(u"\u4E2D\0", 2));
  EXPECT_EQ(MultiByteToUtf16("\xE4\xB8\xAD"), std::u16string(u"\u4E2D\0", 2));
  EXPECT_EQ(MultiByteToUtf16(""), std::u16string(1, u'\0'));
  EXPECT_EQ(MultiByteToUtf16("ab", 1252), std::u16string(1, u'\0'));
  EXPECT_EQ(Utf16ToMultiByte(std::u16string(u"\u4E2D\0x", 3)), "\xD6\xD0");
  EXPECT_EQ(Utf16ToMultiByte(u"\u4E2D", kCodePageUtf8), "\xE4\xB8\xAD");
  EXPECT_EQ(Utf16ToMultiByte(u"ab", 1252), "");
}

}  // namespace
}  // namespace quillorn
