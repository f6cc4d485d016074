// Run with PULSE_SERVER pointing nowhere: speech goes to the silent output.
#include <gtest/gtest.h>

#include "speech/platform/sound_output.h"
#include "speech/platform/speech_platform.h"

namespace quillorn {
namespace {

TEST(SilentOutputTest, WithoutASoundServerThePlatformSaysSo) {
  EXPECT_FALSE(CurrentSpeechPlatform().SoundServerAvailable());
  EXPECT_FALSE(OpenSoundOutput(22050)->IsSoundServer());
}

TEST(SilentOutputTest, TakesAudioAtRealTimePace) {
  auto output = OpenSilentOutput(22050);
  const std::vector<std::int16_t> block(441);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(output->Write(block.data(), block.size()));
  EXPECT_EQ(output->WrittenFrames(), 4410);
  // Only what its short buffer holds can be waiting; the rest was heard.
  EXPECT_GE(output->PlayedFrames(), 4410 - 22050 * 60 / 1000 - 441);
  output->Flush();
  EXPECT_EQ(output->PlayedFrames(), output->WrittenFrames());
}

}  // namespace
}  // namespace quillorn
