// The voice object over the espeak-ng engine, its voice tokens and its audio output tokens.
//
// Each voice has a thread of its own that takes the queued texts in turn, has the engine
// synthesise them one sentence piece at a time (the next piece is asked for while the current one
// is heard or written), and either plays them through the sound output, raising word and
// sentence events as the sound passes them, or writes them into the bound file stream, raising
// the events as the speech is synthesised.
#ifndef QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_
#define QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "speech/platform/espeak_engine.h"
#include "speech/platform/sound_output.h"
#include "speech/platform/speech_objects.h"
#include "speech/platform/speech_script.h"
#include "speech/platform/status_snapshot.h"
#include "speech/platform/wav_file_stream.h"

namespace quillorn {

// A voice token: one installed espeak-ng voice.
class EspeakToken : public Token {
 public:
  EspeakToken(int index, EngineVoice voice) : index_(index), voice_(std::move(voice)) {}
  int Index() const { return index_; }

  Text Id() const override;
  ObjectRef Category() const override { return nullptr; }
  Text Description(int locale = 0) const override;
  Text Attribute(std::string_view name) const override;
  ObjectRef CreateInstance(const ObjectRef& outer, int context) const override;
  bool MatchesAttributes(std::string_view attributes) const override;

 private:
  int index_;
  EngineVoice voice_;
};

// The token of the one audio output: the sound server, or the silent output.
class AudioOutputToken : public Token {
 public:
  Text Id() const override;
  ObjectRef Category() const override { return nullptr; }
  Text Description(int locale = 0) const override;
  Text Attribute(std::string_view name) const override;
  ObjectRef CreateInstance(const ObjectRef&, int) const override { return nullptr; }
  bool MatchesAttributes(std::string_view attributes) const override;
};

class TokenList : public TokenCollection {
 public:
  explicit TokenList(std::vector<TokenRef> tokens) : tokens_(std::move(tokens)) {}
  double Count() const override { return static_cast<double>(tokens_.size()); }
  TokenRef Item(int index) const override;

 private:
  std::vector<TokenRef> tokens_;
};

// All installed voices that match `required`, those that also match `optional` first.
TokenCollectionRef EspeakVoiceTokens(std::string_view required, std::string_view optional);

// espeak-ng's speed in words per minute for a rate of -10 to 10: 175 x 3^(rate / 10), no lower
// than the engine's slowest (80).
int WordsPerMinuteOfRate(int rate);

class EspeakVoice : public Voice {
 public:
  explicit EspeakVoice(EspeakEngine& engine);
  ~EspeakVoice() override;

  TokenCollectionRef GetVoices(std::string_view required, std::string_view optional) override;
  TokenCollectionRef GetAudioOutputs(std::string_view required, std::string_view optional) override;
  TokenRef GetVoice() const override;
  bool SetVoice(const TokenRef& token) override;
  TokenRef GetAudioOutput() const override;
  bool SetAudioOutput(const TokenRef& output) override;
  FileStreamRef GetAudioOutputStream() const override;
  bool SetAudioOutputStream(const FileStreamRef& stream) override;
  double Rate() const override;
  bool SetRate(int rate) override;
  double Volume() const override;
  bool SetVolume(int volume) override;
  double EventInterests() const override;
  bool SetEventInterests(int interests) override;
  double Priority() const override;
  bool SetPriority(int priority) override;
  double AlertBoundary() const override;
  bool SetAlertBoundary(int boundary) override;
  double SynchronousSpeakTimeout() const override;
  bool SetSynchronousSpeakTimeout(int milliseconds) override;
  double Speak(std::string_view text, int flags) override;
  double SpeakStream(const FileStreamRef& stream, int flags) override;
  VoiceStatusRef Status() const override;
  void Pause() override;
  void Resume() override;
  double Skip(std::string_view kind, int count) override;
  bool WaitUntilDone(int milliseconds) override;
  bool IsUISupported(std::string_view kind, const AnyValue& data) override;
  void DisplayUI(std::int64_t window, std::string_view title, std::string_view kind,
                 const AnyValue& data) override;
  int ConnectEvents(VoiceEventSink sink) override;
  void DisconnectEvents(int connection) override;

  // For measurements: the time the first sample of the latest reading went to the sound output.
  std::chrono::steady_clock::time_point FirstSampleTime() const;

 private:
  struct Item {
    int stream = 0;
    SpeechScript script;
    std::shared_ptr<WavFileStream> file;  // no file: the sound output
  };
  struct TimedEvent {
    std::int64_t frame = 0;  // when it is due, in frames of the sound output
    VoiceEvent event;
  };

  void Run();
  void SpeakItem(Item& item);
  SynthesisSettings CurrentSettings() const;
  void Raise(const VoiceEvent& event);
  void Deliver(std::deque<TimedEvent>& events, std::int64_t playedFrames);
  void ApplyToStatus(const VoiceEvent& event);
  bool WaitWhilePaused();  // false when the item is being dropped

  EspeakEngine& engine_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;      // the voice thread: new item, resume, skip, stop
  std::condition_variable finished_;  // waiters of Speak and WaitUntilDone

  int voiceIndex_;
  int rate_ = 0;
  int volume_ = 100;
  int eventInterests_ = 0x3FF;
  int priority_ = 0;
  int alertBoundary_ = 0;
  int synchronousSpeakTimeout_ = 10000;
  std::shared_ptr<WavFileStream> outputStream_;
  std::vector<std::pair<int, std::shared_ptr<VoiceEventSink>>> sinks_;
  int lastConnection_ = 0;

  std::deque<Item> queue_;
  bool busy_ = false;  // an item is being spoken
  int lastQueued_ = 0;
  int completedThrough_ = 0;  // every stream up to this number is finished or dropped
  bool paused_ = false;
  int skipRequest_ = 0;
  bool skipPending_ = false;
  int skipResult_ = 0;
  bool skipAnswered_ = false;
  std::shared_ptr<std::atomic<bool>> dropCurrent_;
  StatusValues status_;
  std::chrono::steady_clock::time_point firstSample_{};
  bool stopping_ = false;

  std::unique_ptr<SoundOutput> sound_;  // used by the voice thread only
  std::thread thread_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_
