#include "speech/platform/speech_script.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

std::vector<TextSpan> Sentences(std::u16string_view text) { return PrepareSpeech(text).sentences; }

TEST(SpeechScriptTest, SentencesRunToTheirClosingPunctuation) {
  struct Case {
    const char* name;
    std::u16string_view text;
    std::vector<TextSpan> sentences;
  };
  const Case cases[] = {
      {"two sentences", u"Hello there. How are you today?", {{0, 12}, {13, 18}}},
      {"leading and trailing spaces", u"  Hi!  ", {{2, 3}}},
      {"no closing punctuation", u"hello world", {{0, 11}}},
      {"closing quote belongs to it", u"He said \"Go.\" Then left.", {{0, 13}, {14, 10}}},
      {"runs of marks", u"What?! Yes...", {{0, 6}, {7, 6}}},
      {"decimal point", u"It costs 3.5 dollars. Fine.", {{0, 21}, {22, 5}}},
      {"lower case after a period", u"See e.g. the list. Done.", {{0, 18}, {19, 5}}},
      {"title", u"Mr. Smith came. He sat.", {{0, 15}, {16, 7}}},
      {"blank line", u"Title\n\nBody text.", {{0, 5}, {7, 10}}},
      {"single line break", u"one\ntwo.", {{0, 8}}},
      {"full-width marks", u"\u4F60\u597D\u3002\u518D\u89C1\uFF01", {{0, 3}, {3, 3}}},
      {"empty", u"", {}},
      {"only spaces", u" \n\t ", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TextSpan> got = Sentences(c.text);
    ASSERT_EQ(got.size(), c.sentences.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].position, c.sentences[i].position) << i;
      EXPECT_EQ(got[i].length, c.sentences[i].length) << i;
    }
  }
}

TEST(SpeechScriptTest, ChunksMapCodePointsToUtf16Offsets) {
  const SpeechScript script = PrepareSpeech(u"A \U0001F600 b. Caf\u00E9 ok.");
  ASSERT_EQ(script.chunks.size(), 2u);
  const SpeechChunk& first = script.chunks[0];
  EXPECT_EQ(first.utf8, "A \xF0\x9F\x98\x80 b.");
  // Code points 1..6 of the first chunk: A, space, the emoji (two units), space, b, period.
  EXPECT_EQ(first.unitOffsets, (std::vector<int>{0, 1, 2, 4, 5, 6, 7}));
  EXPECT_EQ(first.SpanOf(5, 1), (TextSpan{5, 1}));
  EXPECT_EQ(first.SpanOf(3, 1), (TextSpan{2, 2}));
  EXPECT_EQ(first.SpanOf(6, 99), (TextSpan{6, 1}));  // clamped to the chunk
  const SpeechChunk& second = script.chunks[1];
  EXPECT_EQ(second.SpanOf(1, 4), (TextSpan{8, 4}));
  EXPECT_TRUE(second.startsSentence && second.endsSentence);
}

TEST(SpeechScriptTest, LongSentencesAreCutAtClausesOrSpaces) {
  std::u16string text;
  for (int i = 0; i < 60; ++i) text += u"word word, ";
  text += u"end.";
  const SpeechScript script = PrepareSpeech(text);
  ASSERT_EQ(script.sentences.size(), 1u);
  ASSERT_GT(script.chunks.size(), 1u);
  std::size_t covered = 0;
  for (const SpeechChunk& chunk : script.chunks) {
    EXPECT_LE(chunk.unitOffsets.size() - 1, static_cast<std::size_t>(kMaxChunkUnits));
    EXPECT_EQ(chunk.sentence, 0);
    covered += chunk.unitOffsets.size() - 1;
  }
  // Every unit is in a chunk except the spaces at the cuts.
  EXPECT_GE(covered + script.chunks.size(), text.size());
  EXPECT_TRUE(script.chunks.front().startsSentence);
  EXPECT_FALSE(script.chunks.front().endsSentence);
  EXPECT_TRUE(script.chunks.back().endsSentence);
  EXPECT_EQ(script.chunks[0].utf8.back(), ',');  // cut behind a clause mark
}

}  // namespace
}  // namespace quillorn
