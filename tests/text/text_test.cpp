#include "text/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillorn {
namespace {

TEST(ByteArrayTest, TextBecomesItsBytesAndBytesStopAtFirstZero) {
  EXPECT_EQ(BytesFromText("a\xD6\xD0"), (ByteArray{0x61, 0xD6, 0xD0}));
  EXPECT_TRUE(BytesFromText("").empty());
  const ByteArray withZero{0x61, 0x00, 0x62};
  EXPECT_EQ(TextFromBytes(withZero), "a");
  const ByteArray noZero{0x61, 0x62, 0xFF};
  EXPECT_EQ(TextFromBytes(noZero), "ab\xFF");
  EXPECT_EQ(TextFromBytes(ByteArray{}), "");
}

TEST(NumberTextTest, DecimalTextAndBack) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(-12), "-12");
  EXPECT_EQ(DecimalText(100), "100");
  struct Case {
    const char* text;
    int number;
  };
  const Case cases[] = {
      {"57", 57},
      {"-2", -2},
      {"+3", 3},
      {"13abc", 13},
      {"  8", 8},
      {"x1", 0},
      {"", 0},
      {"-", 0},
      {"99999999999", std::numeric_limits<int>::max()},
      {"-99999999999", std::numeric_limits<int>::min()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DecimalNumber(c.text), c.number);
  }
}

TEST(NumberTextTest, HexTextIsUpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(HexText(10), "A");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0x0A), "A");
  EXPECT_EQ(HexText(0xABCDEF), "ABCDEF");
  EXPECT_EQ(HexText(-1), "FFFFFFFF");
}

TEST(NumberTextTest, WholeNumberTruncatesTowardZero) {
  EXPECT_EQ(WholeNumber(2.9), 2);
  EXPECT_EQ(WholeNumber(-2.9), -2);
  EXPECT_EQ(WholeNumber(0.0), 0);
  EXPECT_EQ(WholeNumber(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(WholeNumber(1e20), std::numeric_limits<int>::max());
  EXPECT_EQ(WholeNumber(-1e20), std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace quillorn
