#include "speech/speech_engine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "speech/platform/speech_platform.h"
#include "tests/support/platform_test.h"
#include "tests/support/wav_header.h"
#include "text/codepage.h"

namespace quillorn {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("quillorn-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

struct Recorded {
  std::mutex mutex;
  std::vector<std::vector<int>> calls;  // arguments of each call, context first
  void Add(int context, const std::vector<EventArgument>& arguments) {
    std::vector<int> call{context};
    for (const EventArgument& a : arguments) {
      const auto* value = std::get_if<std::int32_t>(&a);
      call.push_back(value ? *value : -1);
    }
    std::lock_guard lock(mutex);
    calls.push_back(call);
  }
  VoiceEventHandler Handler() {
    return [this](int context, const std::vector<EventArgument>& a) { Add(context, a); };
  }
};

// On every platform; the tests of real files skip the fake one.
class SpeechEngineTest : public testing::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    engine_ = std::make_unique<SpeechEngine>();
    ASSERT_TRUE(engine_->Initialize()) << engine_->GetErrorText();
  }
  void TearDown() override {
    engine_.reset();
    PlatformTest::TearDown();
  }
  std::unique_ptr<SpeechEngine> engine_;
  TempDir dir_;
};
QUILLORN_ON_EVERY_PLATFORM(SpeechEngineTest);

#define SKIP_ON_FAKE() \
  if (IsFake()) GTEST_SKIP() << "real files only"

TEST_P(SpeechEngineTest, ListsAndSelectsVoicesByPosition) {
  const int count = engine_->GetVoiceCount();
  ASSERT_GT(count, 3);
  EXPECT_EQ(engine_->GetVoiceDescription(0), "");
  EXPECT_EQ(engine_->GetVoiceDescription(count + 1), "");
  EXPECT_EQ(engine_->GetVoiceDescription(1), engine_->GetVoiceDescription(1));  // stable order
  EXPECT_NE(engine_->GetVoiceDescription(1), engine_->GetVoiceDescription(2));
  EXPECT_TRUE(engine_->SelectVoice(0));
  EXPECT_TRUE(engine_->SelectVoice(count - 1));
  EXPECT_FALSE(engine_->SelectVoice(-1));
  EXPECT_FALSE(engine_->SelectVoice(count));
}

TEST_P(SpeechEngineTest, SentenceEventsDuringExportCarryPositionAndLength) {
  Recorded sentences, replaced;
  engine_->SetEventHandler(kEventSentence, replaced.Handler());
  engine_->SetEventHandler(kEventSentence, sentences.Handler());  // replaces the first
  engine_->SetEventHandler(11, replaced.Handler());               // no such event
  const std::string path = dir_.File("two.wav");
  ASSERT_TRUE(engine_->ExportToFile(path, "Hello there. How are you today?"));
  ASSERT_EQ(sentences.calls.size(), 2u);
  EXPECT_EQ(sentences.calls[0][0], 0);  // context value
  EXPECT_EQ(std::vector<int>(sentences.calls[0].begin() + 3, sentences.calls[0].end()),
            (std::vector<int>{0, 12}));
  EXPECT_EQ(std::vector<int>(sentences.calls[1].begin() + 3, sentences.calls[1].end()),
            (std::vector<int>{13, 18}));
  EXPECT_LT(sentences.calls[0][2], sentences.calls[1][2]);  // stream positions grow
  EXPECT_TRUE(replaced.calls.empty());
}

TEST_P(SpeechEngineTest, ExportWritesMuLawStereoMatchingTheEngineOwnDuration) {
  SKIP_ON_FAKE();
  const std::string text =
      "Reading aloud helps. The quick brown fox jumps over the lazy dog, twice! Is it done?";
  const std::string path = dir_.File("out.wav");
  ASSERT_TRUE(engine_->ExportToFile(path, text));
  const testing::WavHeader header = testing::ReadWavHeader(path);
  ASSERT_TRUE(header.ok);
  EXPECT_EQ(header.formatTag, 7);
  EXPECT_EQ(header.channels, 2);
  EXPECT_EQ(header.sampleRate, 44100);
  EXPECT_EQ(header.bitsPerSample, 8);
  EXPECT_EQ(header.blockAlign, 2);
  EXPECT_EQ(header.bytesPerSecond, 88200);

  const std::string reference = dir_.File("reference.wav");
  const std::string command = "espeak-ng -w '" + reference + "' '" + text + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const testing::WavHeader own = testing::ReadWavHeader(reference);
  ASSERT_TRUE(own.ok);
  EXPECT_NEAR(header.Seconds(), own.Seconds(), own.Seconds() * 0.02);
}

TEST_P(SpeechEngineTest, ExportReplacesAnExistingFileAndTwoExportsGiveTwoFiles) {
  if (IsFake()) {
    ASSERT_TRUE(engine_->ExportToFile("/x/first.wav", "One sentence."));
    ASSERT_TRUE(engine_->ExportToFile("/x/first.wav", "Now two words."));
    ASSERT_TRUE(engine_->ExportToFile("/x/second.wav", "One."));
    const auto files = fake_->Files();
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("/x/first.wav").size(), 300u);  // the second export replaced the first
    EXPECT_EQ(files.at("/x/second.wav").size(), 100u);
    return;
  }
  const std::string first = dir_.File("first.wav"), second = dir_.File("second.wav");
  {
    std::ofstream old(first);
    old << std::string(500000, 'x');
  }
  ASSERT_TRUE(engine_->ExportToFile(first, "One sentence."));
  ASSERT_TRUE(engine_->ExportToFile(second, "Another, longer sentence than the first one."));
  const testing::WavHeader a = testing::ReadWavHeader(first), b = testing::ReadWavHeader(second);
  ASSERT_TRUE(a.ok);
  ASSERT_TRUE(b.ok);
  EXPECT_LT(fs::file_size(first), 500000u);
  EXPECT_GT(b.Seconds(), a.Seconds());
  EXPECT_EQ(engine_->GetErrorText(), "");
}

TEST_P(SpeechEngineTest, AFileThatCannotBeWrittenFailsTheExport) {
  const Text message = WriteFileFailedMessage();
  EXPECT_EQ(message, Utf8ToGbk("写入语音文件失败！"));
  const std::vector<std::string> paths =
      IsFake() ? std::vector<std::string>{"/unwritable/x.wav"}
               : std::vector<std::string>{dir_.File("missing/folder/x.wav"), "/dev/full"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    SpeechEngine engine;
    ASSERT_TRUE(engine.Initialize());
    EXPECT_FALSE(engine.ExportToFile(path, "This cannot be written anywhere."));
    EXPECT_EQ(engine.GetErrorText(), message);
  }
}

TEST_P(SpeechEngineTest, WithoutAVoiceTheExportFailsToBindTheStream) {
  SpeechEngine engine;  // never initialised: no voice
  EXPECT_FALSE(engine.ExportToFile("/tmp/quillorn-never.wav", "text"));
  EXPECT_EQ(engine.GetErrorText(), Utf8ToGbk("语音文件流绑定文Speakvoice失败！"));
  EXPECT_EQ(engine.GetVoiceCount(), 0);
}

TEST_P(SpeechEngineTest, RefusedComponentFailsInitializeWithOneMessage) {
  CurrentSpeechPlatform().RefuseProgId(kProgIdVoice);
  SpeechEngine engine;
  EXPECT_FALSE(engine.Initialize());
  CurrentSpeechPlatform().AcceptAllProgIds();
  EXPECT_EQ(engine.GetErrorText(), CreateVoiceFailedMessage());
  EXPECT_EQ(engine.GetVoiceCount(), 0);
}

TEST_P(SpeechEngineTest, RefusedFileStreamFailsTheExport) {
  SpeechEngine engine;
  ASSERT_TRUE(engine.Initialize());
  CurrentSpeechPlatform().RefuseProgId(kProgIdFileStream);
  EXPECT_FALSE(engine.ExportToFile("/tmp/quillorn-never.wav", "text"));
  CurrentSpeechPlatform().AcceptAllProgIds();
  EXPECT_EQ(engine.GetErrorText(), Utf8ToGbk("初始化语音文件流失败！"));
}

}  // namespace
}  // namespace quillorn
