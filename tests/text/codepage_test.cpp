#include "text/codepage.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

TEST(CodePageTest, WindowsTableVectorsBothWays) {
  struct Case {
    std::string_view gbk;
    char16_t unit;
  };
  const Case cases[] = {
      {"\xD6\xD0", u'\u4E2D'}, {"\xA1\xAF", u'\u2019'},
      {"\x80", u'\u20AC'},     {"\xA1\xAA", u'\u2014'},
      {"\xCA\xE9", u'\u4E66'}, {"\xA1\xA1", u'\u3000'},
      {"\xA1\xA4", u'\u00B7'}, {"A", u'A'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(c.unit));
    EXPECT_EQ(GbkToUtf16(c.gbk), std::u16string(1, c.unit));
    EXPECT_EQ(Utf16ToGbk(std::u16string(1, c.unit)), c.gbk);
  }
}

TEST(CodePageTest, InvalidGbkBecomesReplacementCharacters) {
  // A lead byte with an invalid trail byte: the lead becomes U+FFFD and the byte after it is
  // read again on its own.
  EXPECT_EQ(GbkToUtf16("\x81\x20"
                       "a"),
            u"\uFFFD a");
  EXPECT_EQ(GbkToUtf16("a\xD6"), u"a\uFFFD");  // a lone lead byte at the end
  EXPECT_EQ(GbkToUtf16(""), u"");
}

TEST(CodePageTest, EverySingleByteDecodesToOneCodeUnit) {
  for (int b = 1; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::u16string units = GbkToUtf16(std::string(1, static_cast<char>(b)));
    ASSERT_EQ(units.size(), 1u);
    if (b < 0x80) {
      EXPECT_EQ(units[0], static_cast<char16_t>(b));
    }
  }
}

TEST(CodePageTest, CharactersGbkCannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToGbk(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(Utf16ToGbk(std::u16string{char16_t{0xD800}, u'x'}), "?x");  // a lone surrogate
  EXPECT_EQ(Utf16ToGbk(std::u16string(u"ab\0cd", 5)), "ab");
}

TEST(CodePageTest, Utf8RoundTripAndInvalidInput) {
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8\xAD"
                        "a"),
            u"\u4E2Da");
  EXPECT_EQ(Utf16ToUtf8(u"\u4E2Da\U0001F600"),
            "\xE4\xB8\xAD"
            "a\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t{0xDC00}}), "\xEF\xBF\xBD");
}

TEST(CodePageTest, LongMixedTextRoundTrips) {
  std::string gbk;
  for (int i = 0; i < 20000; ++i) gbk += (i % 3 == 0) ? "\xD6\xD0" : "ab";
  EXPECT_EQ(Utf16ToGbk(GbkToUtf16(gbk)), gbk);
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(Utf16ToUtf8(GbkToUtf16(gbk)))), Utf16ToUtf8(GbkToUtf16(gbk)));
}

}  // namespace
}  // namespace quillorn
