#include "translate/marker_extraction.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

TEST(AllTextsBetweenTest, Cases) {
  struct Case {
    std::string_view name, text, left, right;
    ExtractionOptions options;
    TextList expected;
  };
  const Case cases[] = {
      {"three pairs, trimmed, tabs kept",
       "<i> one </i><i>two</i><i>\tthree </i>",
       "<i>",
       "</i>",
       {},
       {"one", "two", "\tthree"}},
      {"empty second item ends it", "[a][  ][c][d]", "[", "]", {}, {"a"}},
      {"left marker without right", "[a][b", "[", "]", {}, {"a"}},
      {"right marker without left", "a][b]", "[", "]", {}, {"b"}},
      {"one bar closes and opens", "a|b|c|d", "|", "|", {}, {"b", "c"}},
      {"case ignored at every step", "<I>a</i><i>b</I>", "<i>", "</i>", {}, {"a", "b"}},
      {"case sensitive", "<I>a</i><i>b</i>", "<i>", "</i>", {.caseSensitive = true}, {"b"}},
      {"maximum length ends it", "[ab][abc][a]", "[", "]", {.maximumLength = 2}, {"ab"}},
      {"prefix, suffix and markers",
       "[a]",
       "[",
       "]",
       {.prefix = "<", .suffix = ">", .includeLeftMarker = true, .includeRightMarker = true},
       {"[<a>]"}},
      {"start position", "[a][b]", "[", "]", {.startPosition = 2}, {"b"}},
      {"start below 1", "[a][b]", "[", "]", {.startPosition = -4}, {"a", "b"}},
      {"empty markers find nothing", "abc", "", "", {}, {}},
      {"nothing found", "abc", "[", "]", {}, {}},
      {"ideographic spaces trimmed", "[\xA1\xA1x\xA1\xA1]", "[", "]", {}, {"x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextList items{"left over"};
    EXPECT_EQ(AllTextsBetween(c.text, c.left, c.right, items, c.options),
              static_cast<int>(c.expected.size()));
    EXPECT_EQ(items, c.expected);
  }
}

TEST(AllTextsBetweenTest, EveryCallStartsWithAnEmptyList) {
  TextList items;
  EXPECT_EQ(AllTextsBetween("[a][b]", "[", "]", items), 2);
  EXPECT_EQ(AllTextsBetween("nothing", "[", "]", items), 0);
  EXPECT_TRUE(items.empty());
  // A call that took nothing does not keep the next call from emptying a filled list.
  TextList other{"stale"};
  EXPECT_EQ(AllTextsBetween("[c]", "[", "]", other), 1);
  EXPECT_EQ(other, TextList{"c"});
}

TEST(AllTextsBetweenTest, ManyItemsNeedNoDeepStack) {
  std::string reply;
  for (int i = 0; i < 200000; ++i) reply += "\"dst\":\"w" + std::to_string(i) + "\",";
  TextList items;
  ASSERT_EQ(AllTextsBetween(reply, "\"dst\":\"", "\"", items), 200000);
  EXPECT_EQ(items.front(), "w0");
  EXPECT_EQ(items.back(), "w199999");
}

}  // namespace
}  // namespace quillorn
