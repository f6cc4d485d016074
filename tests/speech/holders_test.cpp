#include <gtest/gtest.h>

#include "speech/holders/error_list.h"
#include "speech/holders/voice_object.h"
#include "speech/holders/voice_status_object.h"
#include "speech/platform/status_snapshot.h"

namespace quillorn {
namespace {

// A status whose numbers have fractions, as no real voice gives them.
class FractionalStatus : public VoiceStatus {
 public:
  explicit FractionalStatus(double value) : value_(value) {}
  double CurrentStreamNumber() const override { return value_; }
  double LastStreamNumberQueued() const override { return value_; }
  double LastHResult() const override { return value_; }
  double RunningState() const override { return value_; }
  double InputWordPosition() const override { return value_; }
  double InputWordLength() const override { return value_; }
  double InputSentencePosition() const override { return value_; }
  double InputSentenceLength() const override { return value_; }
  Text LastBookmark() const override { return "mark"; }
  double PhonemeId() const override { return value_; }
  double VisemeId() const override { return value_; }

 private:
  double value_;
};

TEST(ErrorListTest, ItemsFromOneAndEmptyBeyondTheCount) {
  ErrorList errors;
  errors.Add("a");
  errors.Add("b");
  EXPECT_EQ(errors.GetCount(), 2);
  EXPECT_EQ(errors.GetItem(1), "a");
  EXPECT_EQ(errors.GetItem(2), "b");
  EXPECT_EQ(errors.GetItem(3), "");
  ErrorList copy = errors;
  errors.Clear();
  EXPECT_EQ(errors.GetCount(), 0);
  EXPECT_EQ(copy.GetItem(2), "b");
}

TEST(VoiceStatusObjectTest, NumbersAreTruncatedTowardZero) {
  VoiceStatusObject status;
  EXPECT_EQ(status.GetRunningState(), 0);  // empty holder
  EXPECT_EQ(status.GetLastBookmark(), "");
  for (const auto& [value, expected] : {std::pair{2.9, 2}, std::pair{-2.9, -2}}) {
    SCOPED_TRACE(value);
    auto snapshot = std::make_shared<FractionalStatus>(value);
    status.SetObject(snapshot);
    status.SetObject(snapshot);  // the same object again: still held
    EXPECT_EQ(status.GetObject(), snapshot);
    EXPECT_EQ(status.GetInputWordPosition(), expected);
    EXPECT_EQ(status.GetInputSentenceLength(), expected);
    EXPECT_EQ(status.GetCurrentStreamNumber(), expected);
    EXPECT_EQ(status.GetLastBookmark(), "mark");
  }
}

TEST(VoiceObjectTest, EmptyHolderAnswersWithNothing) {
  VoiceObject voice;
  EXPECT_FALSE(voice.GetStatus());
  EXPECT_EQ(voice.Speak("x", 0), 0);
  EXPECT_FALSE(voice.SetRate(1));
  EXPECT_EQ(voice.GetVolume(), 0);
  EXPECT_FALSE(voice.GetVoices(""));
  EXPECT_FALSE(voice.WaitUntilDone(10));
}

TEST(VoiceObjectTest, CreatingAgainDropsTheHandlersAndCopiesConnectOnTheirOwn) {
  VoiceObject voice;
  ASSERT_TRUE(voice.Create());
  int calls = 0;
  voice.SetEventHandler(kEventStreamStart,
                        [&](int, const std::vector<EventArgument>&) { ++calls; });
  VoiceObject copy = voice;  // same voice, no handlers
  copy.Speak("", 0);
  EXPECT_EQ(calls, 1);
  ASSERT_TRUE(voice.Create());
  voice.Speak("", 0);
  EXPECT_EQ(calls, 1);
  voice.SetEventHandler(kEventStreamStart,
                        [&](int, const std::vector<EventArgument>&) { ++calls; });
  voice.Speak("", 0);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace quillorn
