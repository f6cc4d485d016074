#include "text/operations.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

// Two double-byte characters: C4 E3 and BA C3.
constexpr std::string_view kTwoChars = "\xC4\xE3\xBA\xC3";

TEST(CompareTest, BytesAreUnsignedAndCaseCounts) {
  EXPECT_EQ(Compare("", ""), 0);
  EXPECT_EQ(Compare(std::string_view(), ""), 0);  // a missing text equals ""
  EXPECT_LT(Compare("a", "b"), 0);
  EXPECT_GT(Compare("b", "a"), 0);
  EXPECT_LT(Compare("A", "a"), 0);
  EXPECT_GT(Compare("\x80", "a"), 0);
  EXPECT_LT(Compare("ab", "abc"), 0);
}

TEST(FindTest, Cases) {
  struct Case {
    std::string_view text, sought;
    int start;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"ab", "b", 0, false, 2},
      {"ab", "b", 3, false, -1},
      {"ab", "b", -5, false, 2},
      {"abab", "b", 3, false, 4},
      {"ab", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"a", "ab", 1, false, -1},
      {kTwoChars, "\xE3\xBA", 1, false, -1},  // would begin on a trail byte
      {kTwoChars, "\xBA\xC3", 1, false, 3},
      {"\xB0\x41"
       "A",
       "A", 1, false, 3},  // 0x41 inside B0 41 is no letter A
      {"\xB0\x61"
       "A",
       "a", 1, true, 3},
      {"Set-Cookie:", "set-cookie:", 1, true, 1},
      {"Set-Cookie:", "set-cookie:", 1, false, -1},
      {"x\x81", "\x81", 1, false, 2},  // a lone lead byte at the end
      {"[\xC4\xE3]", "]", 1, false, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "find \"" << c.sought << "\" in \"" << c.text << "\" from " << c.start);
    EXPECT_EQ(Find(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(FindTest, IgnoreCaseFoldsOnlyAsciiLetters) {
  for (int b = 0; b < 0x80; ++b) {
    SCOPED_TRACE(b);
    const std::string text(1, static_cast<char>(b));
    const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    const char other = letter ? static_cast<char>(b ^ 0x20) : static_cast<char>(b);
    EXPECT_EQ(Find(text, std::string(1, other), 1, true), 1);
    if (letter) {
      EXPECT_EQ(Find(text, std::string(1, other), 1, false), -1);
    }
  }
}

TEST(TrimTest, Cases) {
  struct Case {
    std::string_view text, expected;
  };
  const Case cases[] = {
      {"  a b  ", "a b"},
      {"   ", ""},
      {"\xA1\xA1 \xA1\xA1", ""},
      {"\xA1\xA1x\xA1\xA1", "x"},
      {"\tx\r\n", "\tx\r\n"},
      {" \tx ", "\tx"},
      {"\xA1x", "\xA1x"},                // A1 not followed by A1 is no space
      {"\xC4\xA1\xA1", "\xC4\xA1\xA1"},  // C4 A1 is a character; the last A1 is no space
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Trim(c.text), c.expected);
  }
}

TEST(RemoveSpacesTest, RemovesBothSpacesAndKeepsCharactersWhole) {
  EXPECT_EQ(RemoveSpaces("a = 1 ;b=2"), "a=1;b=2");
  EXPECT_EQ(RemoveSpaces("a\xA1\xA1"
                         "b\t"),
            "ab\t");
  EXPECT_EQ(RemoveSpaces("\xC4\x20"), "\xC4\x20");  // C4 20 is stepped over whole
  EXPECT_EQ(RemoveSpaces("\xC4\xA1\xA1\xA1"), "\xC4\xA1");
  EXPECT_EQ(RemoveSpaces(""), "");
}

TEST(ReplaceTest, Cases) {
  struct Case {
    std::string_view text, sought, replacement;
    int count;
    bool caseSensitive;
    std::string_view expected;
  };
  const Case cases[] = {
      {"aaa", "a", "aa", kReplaceAll, true, "aaaaaa"},  // a replacement is never searched again
      {"abab", "ab", "x", kReplaceAll, true, "xx"},
      {"abab", "ab", "x", 1, true, "xab"},
      {"abab", "ab", "x", 0, true, "abab"},
      {"abab", "AB", "x", kReplaceAll, true, "abab"},
      {"abAB", "ab", "x", kReplaceAll, false, "xx"},
      {"abc", "", "x", kReplaceAll, true, "abc"},
      {"", "a", "x", kReplaceAll, true, ""},
      {"aaaa", "aa", "b", kReplaceAll, true, "bb"},
      {kTwoChars, "\xE3\xBA", "x", kReplaceAll, true, kTwoChars},
      {"\x81\\u\\u", "\\u", "%u", kReplaceAll, true, "\x81\\u%u"},  // 81 5C is one character
      {"a\r\nb\r\n", "\r\n", "{$}", kReplaceAll, true, "a{$}b{$}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " / " << c.sought << " / " << c.count);
    EXPECT_EQ(Replace(c.text, c.sought, c.replacement, c.count, c.caseSensitive), c.expected);
  }
}

TEST(PartsTest, CountsAreCutToTheText) {
  EXPECT_EQ(LeftPart("abc", 5), "abc");
  EXPECT_EQ(LeftPart("abc", 0), "");
  EXPECT_EQ(LeftPart("abc", -1), "");
  EXPECT_EQ(LeftPart("abc", 2), "ab");
  EXPECT_EQ(RightPart("abc", 2), "bc");
  EXPECT_EQ(RightPart("abc", 9), "abc");
  EXPECT_EQ(RightPart("abc", 0), "");
  EXPECT_EQ(MiddlePart("abcde", 2, 3), "bcd");
  EXPECT_EQ(MiddlePart("abc", 3, 9), "c");
  EXPECT_EQ(MiddlePart("abc", 4, 1), "");
  EXPECT_EQ(MiddlePart("abc", 0, 2), "ab");
  EXPECT_EQ(MiddlePart("abc", 2, 0), "");
}

TEST(SplitTest, Cases) {
  struct Case {
    std::string_view text, separator;
    TextList expected;
  };
  const Case cases[] = {
      {"a;;b", ";", {"a", "", "b"}},
      {"a;b;", ";", {"a", "b"}},
      {"a;;", ";", {"a", ""}},
      {";a", ";", {"", "a"}},
      {";", ";", {""}},
      {"", ";", {}},
      {"abc", ";", {"abc"}},
      {"a; b; c", "; ", {"a", "b", "c"}},
      {"abc", "", {"abc"}},
      {"\xC4;\xC4;x", ";", {"\xC4;\xC4;x"}},  // C4 3B is one character, not a separator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" at \"" << c.separator << '"');
    EXPECT_EQ(Split(c.text, c.separator), c.expected);
  }
}

TEST(LowerCaseTest, OnlyAsciiLettersOutsideDoubleByteCharacters) {
  EXPECT_EQ(LowerCase("AbC-Z"), "abc-z");
  EXPECT_EQ(LowerCase("\xB0\x41"
                      "A"),
            "\xB0\x41"
            "a");
  for (int b = 0; b < 0x80; ++b) {
    SCOPED_TRACE(b);
    const std::string one(1, static_cast<char>(b));
    const char expected = (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
    EXPECT_EQ(LowerCase(one), std::string(1, expected));
  }
}

}  // namespace
}  // namespace quillorn
