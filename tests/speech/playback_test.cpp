// Reading aloud into the private sound server that the test command starts, recorded from its
// sink's monitor.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "speech/platform/speech_platform.h"
#include "tests/support/pulse_recorder.h"

namespace quillorn {
namespace {

using Clock = std::chrono::steady_clock;

const char* TestSink() { return std::getenv("QUILLORN_TEST_SINK"); }

TEST(PlaybackTest, WordsAreReportedWhileTheirSoundPlays) {
  if (TestSink() == nullptr) GTEST_SKIP() << "no private sound server (run scripts/test)";
  ASSERT_TRUE(CurrentSpeechPlatform().SoundServerAvailable());
  testing::PulseRecorder recorder(TestSink());
  ASSERT_TRUE(recorder.Ok());

  auto voice = std::dynamic_pointer_cast<Voice>(CurrentSpeechPlatform().CreateObject(kProgIdVoice));
  ASSERT_TRUE(voice);
  std::mutex mutex;
  std::vector<Clock::time_point> wordTimes;
  voice->ConnectEvents([&](const VoiceEvent& event) {
    if (event.number != kEventWord) return;
    std::lock_guard lock(mutex);
    wordTimes.push_back(Clock::now());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // some silence first
  const Clock::time_point spoken = Clock::now();
  voice->Speak("Reading aloud, word after word, into the null sink.", kSpeakAsync);
  ASSERT_TRUE(voice->WaitUntilDone(20000));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  recorder.Stop();

  const double before = recorder.Rms(spoken - std::chrono::milliseconds(250), spoken);
  EXPECT_GT(recorder.Rms(), 300.0) << "the recording is silent";
  EXPECT_LT(before, 50.0);
  std::lock_guard lock(mutex);
  ASSERT_EQ(wordTimes.size(), 9u);
  for (std::size_t i = 0; i < wordTimes.size(); ++i) {
    SCOPED_TRACE(i);
    // The word's sound is heard around the moment it is reported.
    const double rms = recorder.Rms(wordTimes[i] - std::chrono::milliseconds(50),
                                    wordTimes[i] + std::chrono::milliseconds(150));
    EXPECT_GT(rms, 100.0);
  }
}

}  // namespace
}  // namespace quillorn
