#include "speech/platform/espeak_voice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "speech/platform/speech_platform.h"
#include "tests/support/platform_test.h"

namespace quillorn {
namespace {

VoiceRef NewVoice() {
  return std::dynamic_pointer_cast<Voice>(CurrentSpeechPlatform().CreateObject(kProgIdVoice));
}

int Argument(const VoiceEvent& event, std::size_t index) {
  return std::get<std::int32_t>(event.arguments.at(index));
}

TEST(EspeakVoiceTest, TokensDescribeTheInstalledVoicesAndFilterByAttributes) {
  VoiceRef voice = NewVoice();
  ASSERT_TRUE(voice);
  EXPECT_EQ(voice->GetVoice()->Description(), "English (Great Britain)");  // a new voice's
  const TokenCollectionRef all = voice->GetVoices();
  ASSERT_GT(all->Count(), 100);
  EXPECT_FALSE(all->Item(-1));
  EXPECT_FALSE(all->Item(static_cast<int>(all->Count())));

  const TokenCollectionRef british = voice->GetVoices("Language=en-gb", "");
  ASSERT_GE(british->Count(), 1);
  const TokenRef token = british->Item(0);
  EXPECT_EQ(token->Id(), "espeak-ng/gmw/en");
  EXPECT_EQ(token->Attribute("Name"), "English (Great Britain)");
  EXPECT_EQ(token->Attribute("Language"), "en-gb");
  EXPECT_EQ(token->Attribute("Gender"), "Male");
  EXPECT_EQ(token->Attribute("Vendor"), "eSpeak NG");
  EXPECT_EQ(token->Attribute("Colour"), "");
  EXPECT_TRUE(token->MatchesAttributes("Name=english (great britain);Gender=Male"));
  EXPECT_TRUE(token->MatchesAttributes("Language=en"));  // a language covers its dialects
  EXPECT_FALSE(token->MatchesAttributes("Gender=Female"));
  EXPECT_TRUE(token->MatchesAttributes(""));

  // Optional attributes put their matches first, the others follow.
  const TokenCollectionRef ordered = voice->GetVoices("", "Language=en-us");
  EXPECT_EQ(ordered->Count(), all->Count());
  EXPECT_EQ(ordered->Item(0)->Attribute("Language"), "en-us");

  EXPECT_TRUE(voice->SetVoice(all->Item(5)));
  EXPECT_EQ(voice->GetVoice()->Id(), all->Item(5)->Id());
  EXPECT_FALSE(voice->SetVoice(nullptr));
}

TEST(EspeakVoiceTest, RatesFollowAThreeFoldScale) {
  EXPECT_EQ(WordsPerMinuteOfRate(0), 175);
  EXPECT_EQ(WordsPerMinuteOfRate(10), 525);
  EXPECT_EQ(WordsPerMinuteOfRate(1), 195);
  EXPECT_EQ(WordsPerMinuteOfRate(-7), 81);
  EXPECT_EQ(WordsPerMinuteOfRate(-10), 80);  // the engine's slowest
}

// What every voice does, whatever its platform.
class VoiceTest : public testing::PlatformTest {};
QUILLORN_ON_EVERY_PLATFORM(VoiceTest);

TEST_P(VoiceTest, AsynchronousSpeechQueuesBehindAndEventsFollowInOrder) {
  VoiceRef voice = NewVoice();
  ASSERT_TRUE(voice);
  std::mutex mutex;
  std::vector<std::pair<int, int>> events;  // number, stream
  voice->ConnectEvents([&](const VoiceEvent& e) {
    std::lock_guard lock(mutex);
    events.emplace_back(e.number, Argument(e, 0));
  });
  const double first = voice->Speak("One.", kSpeakAsync);
  const double second = voice->Speak("Two.", kSpeakAsync);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(voice->Status()->LastStreamNumberQueued(), 2);
  ASSERT_TRUE(voice->WaitUntilDone(10000));
  EXPECT_EQ(voice->Status()->RunningState(), kRunningStateDone);
  std::lock_guard lock(mutex);
  const std::vector<std::pair<int, int>> expected = {
      {kEventStreamStart, 1}, {kEventSentence, 1}, {kEventWord, 1}, {kEventStreamEnd, 1},
      {kEventStreamStart, 2}, {kEventSentence, 2}, {kEventWord, 2}, {kEventStreamEnd, 2}};
  EXPECT_EQ(events, expected);
}

TEST_P(VoiceTest, SkipMovesToALaterSentence) {
  VoiceRef voice = NewVoice();
  ASSERT_TRUE(voice);
  std::mutex mutex;
  std::vector<int> words;
  voice->ConnectEvents([&](const VoiceEvent& e) {
    if (e.number != kEventWord) return;
    std::lock_guard lock(mutex);
    words.push_back(Argument(e, 2));
  });
  const std::string text = "First sentence is rather long, and slow to say. Second one. Third.";
  voice->Speak(text, kSpeakAsync);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard lock(mutex);
      if (!words.empty()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(voice->Skip("Sentence", 1), 1);
  ASSERT_TRUE(voice->WaitUntilDone(10000));
  std::lock_guard lock(mutex);
  ASSERT_GE(words.size(), 2u);
  const int second = static_cast<int>(text.find("Second"));
  EXPECT_LT(words.front(), second);
  // Once skipped, the next word reported is the first word of the second sentence.
  std::size_t i = 1;
  while (i < words.size() && words[i] < second && words[i] > words[i - 1]) ++i;
  ASSERT_LT(i, words.size());
  EXPECT_EQ(words[i], second);
  EXPECT_EQ(voice->Skip("Word", 1), 0);
}

}  // namespace
}  // namespace quillorn
