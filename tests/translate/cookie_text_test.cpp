#include "translate/cookie_text.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

constexpr std::string_view kQuote = "#\xD2\xFD\xBA\xC5";  // "#引号" in GBK

TEST(TextBetweenTest, Cases) {
  const std::string quoteA = std::string(kQuote) + "a" + std::string(kQuote);
  const std::string srcMarker =
      std::string(kQuote) + "src" + std::string(kQuote) + ":" + std::string(kQuote);
  struct Case {
    std::string_view text, left, right;
    int start;
    bool caseSensitive;
    std::string_view expected;
  };
  const Case cases[] = {
      {"Set-Cookie: sid=ab12; path=/", "Set-Cookie:", ";", 1, false, " sid=ab12"},
      {"Set-Cookie: sid=ab12; path=/", "set-cookie:", ";", 1, false, " sid=ab12"},
      {"Set-Cookie: sid=ab12; path=/", "set-cookie:", ";", 1, true, ""},
      {"x=1", "x=", ";", 1, false, ""},
      {"x=1;", "x=", ";", 1, false, "1"},
      {"x=;", "x=", ";", 1, false, ""},
      {"[a][b]", "[", "]", 1, false, "a"},
      {"[a][b]", "[", "]", 2, false, "b"},
      {"[a][b]", "[", "]", -3, false, "a"},
      {"[a", "[", "]", 1, false, ""},
      {"[a [b]", "[", "]", 1, false, "a [b"},
      {"[a]", "[", "", 1, false, ""},
      {"k=\"a\"v;", quoteA, ";", 1, false, "v"},
      {"\"src\":\"hi\"", srcMarker, kQuote, 1, false, "hi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " between " << c.left << " and " << c.right);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.caseSensitive), c.expected);
  }
}

TEST(CookieNameTest, TextBeforeFirstEqualsTrimmed) {
  EXPECT_EQ(CookieName("sid=ab=12"), "sid");
  EXPECT_EQ(CookieName(" sid =x"), "sid");
  EXPECT_EQ(CookieName(" flag "), "flag");
  EXPECT_EQ(CookieName("=x"), "");
  EXPECT_EQ(CookieName(""), "");
  EXPECT_TRUE(HasCookieName({"a=1", "b=2"}, "b"));
  EXPECT_FALSE(HasCookieName({"a=1", "bb=2"}, "b"));
  EXPECT_FALSE(HasCookieName({}, ""));
  EXPECT_EQ(IndexOfText({"a", "b", "b"}, "b"), 2);
  EXPECT_EQ(IndexOfText({"a"}, "A"), -1);
}

TEST(JoinDistinctTest, Cases) {
  EXPECT_EQ(JoinDistinct("a; b; a", "; "), "a; b");
  EXPECT_EQ(JoinDistinct("", "; "), "");
  EXPECT_EQ(JoinDistinct("a; ; b; ; a", "; "), "a; ; b");
  EXPECT_EQ(JoinDistinct("a;a;", ";"), "a");
  EXPECT_EQ(JoinDistinct(";", ";"), "");  // one empty piece, taken once
}

TEST(MergeCookiesTest, Cases) {
  struct Case {
    std::string_view current, incoming, merged, incomingAfter;
  };
  const Case cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"a=1;a=2", "", "a=1", ""},
      {"", "x=1;x=2", "x=1; x=2", "x=1;x=2"},
      {"", "x=1;x=1", "x=1", "x=1;x=1"},
      {"a = 1", "", "a=1", ""},
      {"a=1;;b=2", "", "a=1; ; b=2", ""},
      {"", "", "", ""},
      {"flag; a=1", "", "flag; a=1", ""},
      {"flag; a=1", "flag=2", "flag=2; a=1", "flag=2"},
      {"deleted", "", "deleted", ""},     // no "=", so no deletion item
      {"b=deleted; c=1", "", "c=1", ""},  // deletion items never reach the result
      {" a = x y ; b\xA1\xA1=2", " c = 3 ", "c=3; a=xy; b=2", "c=3"},
      {"a=1;", "", "a=1", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "current \"" << c.current << "\" incoming \"" << c.incoming << '"');
    Text current(c.current), incoming(c.incoming);
    const Text result = MergeCookies(current, incoming);
    EXPECT_EQ(result, c.merged);
    EXPECT_EQ(current, c.merged);
    EXPECT_EQ(incoming, c.incomingAfter);
  }
}

}  // namespace
}  // namespace quillorn
