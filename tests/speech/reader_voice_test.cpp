#include "speech/reader_voice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include "speech/platform/speech_platform.h"
#include "tests/support/platform_test.h"

namespace quillorn {
namespace {

using Call = std::tuple<bool, int, int>;

std::vector<Call> Read(ReaderVoice& reader, std::string_view text, bool notify = true) {
  std::vector<Call> calls;
  reader.ReadAloud(
      text,
      [&](bool done, int position, int length) { calls.emplace_back(done, position, length); },
      notify);
  return calls;
}

class ReaderVoiceTest : public testing::PlatformTest {};
QUILLORN_ON_EVERY_PLATFORM(ReaderVoiceTest);

TEST_P(ReaderVoiceTest, ReportsEachWordAndEndsWithTheLast) {
  ReaderVoice reader;
  EXPECT_EQ(Read(reader, "hello world"),
            (std::vector<Call>{{false, 0, 5}, {false, 6, 5}, {true, 6, 5}}));
}

TEST_P(ReaderVoiceTest, EmptyTextGivesOnlyTheFinalCall) {
  ReaderVoice reader;
  EXPECT_EQ(Read(reader, ""), (std::vector<Call>{{true, 0, 0}}));
}

TEST_P(ReaderVoiceTest, WithoutNotifyOnlyTheFinalCallComes) {
  ReaderVoice reader;
  EXPECT_EQ(Read(reader, "hello world", false), (std::vector<Call>{{true, 6, 5}}));
}

TEST_P(ReaderVoiceTest, VoicesAreChosenByExactDescription) {
  ReaderVoice reader;
  TextList voices;
  reader.ListVoices(voices);
  ASSERT_GT(voices.size(), 3u);
  EXPECT_TRUE(reader.SelectVoiceByDescription(voices[2]));
  Text upper = voices[2];
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_FALSE(reader.SelectVoiceByDescription(upper));
  // No installed voice has the name the reading command asks for; reading keeps the voice.
  EXPECT_FALSE(reader.SelectVoiceByDescription("Microsoft Sam"));
}

TEST_P(ReaderVoiceTest, RateAndVolumeOutsideTheirRangesAreRefused) {
  ReaderVoice reader;
  VoiceRef voice = reader.GetObject();
  ASSERT_TRUE(voice);
  reader.SetRate(10);
  reader.SetVolume(0);
  EXPECT_EQ(voice->Rate(), 10);
  EXPECT_EQ(voice->Volume(), 0);
  EXPECT_FALSE(voice->SetRate(11));
  EXPECT_FALSE(voice->SetRate(-11));
  EXPECT_FALSE(voice->SetVolume(101));
  EXPECT_FALSE(voice->SetVolume(-1));
  EXPECT_EQ(voice->Rate(), 10);
}

TEST_P(ReaderVoiceTest, StopSilencesTheVoiceAndEndsTheReadingWithoutItsFinalCall) {
  ReaderVoice reader;
  std::atomic<int> words{0}, finals{0};
  std::thread worker([&] {
    reader.ReadAloud(
        "This is a long text that would take many seconds to read aloud from start to end.",
        [&](bool done, int, int) { ++(done ? finals : words); }, true);
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (words == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GT(words, 0);
  reader.Stop();
  worker.join();
  EXPECT_EQ(finals, 0);
  EXPECT_TRUE(reader.GetObject()->WaitUntilDone(2000));
}

TEST_P(ReaderVoiceTest, PauseHoldsTheWordAndResumeGoesOn) {
  ReaderVoice reader;
  std::mutex mutex;
  std::vector<Call> calls;
  std::thread worker([&] {
    reader.ReadAloud(
        "one two three four five six",
        [&](bool done, int p, int l) {
          std::lock_guard lock(mutex);
          calls.emplace_back(done, p, l);
        },
        true);
  });
  const auto count = [&] {
    std::lock_guard lock(mutex);
    return calls.size();
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (count() == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  reader.Pause();
  EXPECT_TRUE(reader.IsPaused());
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // let the sound buffer run out
  const VoiceRef voice = reader.GetObject();
  const double held = voice->Status()->InputWordPosition();
  const std::size_t before = count();
  EXPECT_FALSE(voice->WaitUntilDone(600));  // held: it does not finish
  EXPECT_EQ(voice->Status()->InputWordPosition(), held);
  EXPECT_EQ(count(), before);
  reader.Resume();
  worker.join();
  std::lock_guard lock(mutex);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), (Call{true, 24, 3}));
}

TEST_P(ReaderVoiceTest, WithoutAVoiceReadAloudEndsAtOnce) {
  CurrentSpeechPlatform().RefuseProgId(kProgIdVoice);
  ReaderVoice reader;
  CurrentSpeechPlatform().AcceptAllProgIds();
  EXPECT_FALSE(reader.GetObject());
  EXPECT_EQ(Read(reader, "hello"), (std::vector<Call>{{true, 0, 0}}));
  EXPECT_FALSE(reader.SelectVoiceByDescription("Fake English"));
}

}  // namespace
}  // namespace quillorn
