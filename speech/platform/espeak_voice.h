// The voice object over the espeak-ng engine, its voice tokens and its audio output tokens.
//
// On its voice thread (see QueuedVoice) each queued text is synthesised by the engine one
// sentence piece at a time (two pieces are asked for ahead of the one heard or written), and
// either played through the sound output, raising word and sentence events as the sound passes
// them, or written into the bound file stream, raising the events as the speech is synthesised.
#ifndef QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_
#define QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_

#include <chrono>
#include <deque>
#include <memory>
#include <vector>

#include "speech/platform/espeak_engine.h"
#include "speech/platform/queued_voice.h"
#include "speech/platform/sound_output.h"
#include "speech/platform/speech_objects.h"
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

class EspeakVoice : public QueuedVoice {
 public:
  explicit EspeakVoice(EspeakEngine& engine);
  ~EspeakVoice() override;

  TokenCollectionRef GetVoices(std::string_view required, std::string_view optional) override;
  TokenCollectionRef GetAudioOutputs(std::string_view required, std::string_view optional) override;
  TokenRef GetVoice() const override;
  bool SetVoice(const TokenRef& token) override;
  TokenRef GetAudioOutput() const override;
  bool SetAudioOutput(const TokenRef& output) override;

  // For measurements: the time the first sample of the latest reading went to the sound output.
  std::chrono::steady_clock::time_point FirstSampleTime() const;

 private:
  struct TimedEvent {
    std::int64_t frame = 0;  // when it is due, in frames of the sound output
    VoiceEvent event;
  };

  void SpeakItem(Item& item, const DropFlag& drop) override;
  bool AcceptsStream(const FileStreamRef& stream) const override;
  SynthesisSettings CurrentSettings() const;
  void Deliver(std::deque<TimedEvent>& events, std::int64_t playedFrames);

  EspeakEngine& engine_;
  int voiceIndex_;                                       // guarded by mutex_
  std::chrono::steady_clock::time_point firstSample_{};  // guarded by mutex_
  std::unique_ptr<SoundOutput> sound_;                   // used by the voice thread only
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_ESPEAK_VOICE_H_
