#include "speech/platform/espeak_voice.h"

#include <algorithm>
#include <cmath>

#include "speech/platform/token_attributes.h"
#include "text/codepage.h"
#include "text/operations.h"

namespace quillorn {
namespace {

constexpr std::string_view kVendor = "eSpeak NG";
constexpr std::size_t kBlockFrames = 441;  // 20 ms at 22,050 Hz

}  // namespace

Text EspeakToken::Id() const { return "espeak-ng/" + voice_.identifier; }

Text EspeakToken::Description(int) const { return Utf8ToGbk(voice_.name); }

Text EspeakToken::Attribute(std::string_view name) const {
  const Text key = LowerCase(name);
  if (key == "name") return Utf8ToGbk(voice_.name);
  if (key == "language") return voice_.language;
  if (key == "gender") return voice_.gender == 1 ? "Male" : voice_.gender == 2 ? "Female" : "";
  if (key == "age") return voice_.age == 0 ? "" : DecimalText(voice_.age);
  if (key == "vendor") return Text(kVendor);
  return Text();
}

ObjectRef EspeakToken::CreateInstance(const ObjectRef&, int) const {
  EspeakEngine* engine = EspeakEngine::Instance();
  if (engine == nullptr) return nullptr;
  auto voice = std::make_shared<EspeakVoice>(*engine);
  voice->SetVoice(std::make_shared<EspeakToken>(index_, voice_));
  return voice;
}

bool EspeakToken::MatchesAttributes(std::string_view attributes) const {
  return MatchesTokenAttributes(*this, attributes);
}

Text AudioOutputToken::Id() const { return "quillorn/audio-output/default"; }

Text AudioOutputToken::Description(int) const {
  return SoundServerReachable() ? "Sound server" : "Silent output";
}

Text AudioOutputToken::Attribute(std::string_view name) const {
  const Text key = LowerCase(name);
  if (key == "name") return Description();
  if (key == "vendor") return "Quillorn";
  return Text();
}

bool AudioOutputToken::MatchesAttributes(std::string_view attributes) const {
  return MatchesTokenAttributes(*this, attributes);
}

TokenRef TokenList::Item(int index) const {
  if (index < 0 || index >= static_cast<int>(tokens_.size())) return nullptr;
  return tokens_[static_cast<std::size_t>(index)];
}

TokenCollectionRef EspeakVoiceTokens(std::string_view required, std::string_view optional) {
  std::vector<TokenRef> preferred, others;
  if (EspeakEngine* engine = EspeakEngine::Instance()) {
    const auto& voices = engine->Voices();
    for (std::size_t i = 0; i < voices.size(); ++i) {
      auto token = std::make_shared<EspeakToken>(static_cast<int>(i), voices[i]);
      if (!token->MatchesAttributes(required)) continue;
      const bool first = !optional.empty() && token->MatchesAttributes(optional);
      (first ? preferred : others).push_back(std::move(token));
    }
  }
  preferred.insert(preferred.end(), others.begin(), others.end());
  return std::make_shared<TokenList>(std::move(preferred));
}

int WordsPerMinuteOfRate(int rate) {
  const double wpm = 175.0 * std::pow(3.0, rate / 10.0);
  return std::max(80, static_cast<int>(std::lround(wpm)));
}

EspeakVoice::EspeakVoice(EspeakEngine& engine)
    : engine_(engine), voiceIndex_(engine.DefaultVoice()) {}

EspeakVoice::~EspeakVoice() { StopVoiceThread(); }

TokenCollectionRef EspeakVoice::GetVoices(std::string_view required, std::string_view optional) {
  return EspeakVoiceTokens(required, optional);
}

TokenCollectionRef EspeakVoice::GetAudioOutputs(std::string_view required,
                                                std::string_view optional) {
  auto token = std::make_shared<AudioOutputToken>();
  std::vector<TokenRef> tokens;
  if (token->MatchesAttributes(required)) tokens.push_back(token);
  (void)optional;
  return std::make_shared<TokenList>(std::move(tokens));
}

TokenRef EspeakVoice::GetVoice() const {
  std::lock_guard lock(mutex_);
  const auto& voices = engine_.Voices();
  return std::make_shared<EspeakToken>(voiceIndex_, voices[static_cast<std::size_t>(voiceIndex_)]);
}

bool EspeakVoice::SetVoice(const TokenRef& token) {
  const auto* espeakToken = dynamic_cast<const EspeakToken*>(token.get());
  if (espeakToken == nullptr || espeakToken->Index() < 0 ||
      espeakToken->Index() >= static_cast<int>(engine_.Voices().size())) {
    return false;
  }
  std::lock_guard lock(mutex_);
  voiceIndex_ = espeakToken->Index();
  return true;
}

TokenRef EspeakVoice::GetAudioOutput() const { return std::make_shared<AudioOutputToken>(); }

bool EspeakVoice::SetAudioOutput(const TokenRef& output) {
  return dynamic_cast<const AudioOutputToken*>(output.get()) != nullptr;
}

bool EspeakVoice::AcceptsStream(const FileStreamRef& stream) const {
  return std::dynamic_pointer_cast<WavFileStream>(stream) != nullptr;
}

std::chrono::steady_clock::time_point EspeakVoice::FirstSampleTime() const {
  std::lock_guard lock(mutex_);
  return firstSample_;
}

SynthesisSettings EspeakVoice::CurrentSettings() const {
  std::lock_guard lock(mutex_);
  SynthesisSettings settings;
  settings.voiceIdentifier = engine_.Voices()[static_cast<std::size_t>(voiceIndex_)].identifier;
  settings.wordsPerMinute = WordsPerMinuteOfRate(rate_);
  settings.amplitude = volume_;
  return settings;
}

void EspeakVoice::Deliver(std::deque<TimedEvent>& events, std::int64_t playedFrames) {
  // An event is due once the first sample behind it is heard.
  while (!events.empty() && events.front().frame < playedFrames) {
    Raise(events.front().event);
    events.pop_front();
  }
}

void EspeakVoice::SpeakItem(Item& item, const DropFlag& drop) {
  const auto file = std::static_pointer_cast<WavFileStream>(item.file);
  const bool toFile = file != nullptr;
  const int rate = engine_.SampleRate();
  // Each reading tries the sound server again when the last one had to go without it.
  if (!toFile && (!sound_ || !sound_->IsSoundServer())) sound_ = OpenSoundOutput(rate);
  const std::int64_t itemStartFrame = toFile ? 0 : sound_->WrittenFrames();
  const auto streamPosition = [&](std::int64_t frame) -> std::int64_t {
    if (toFile) return frame;  // files: positions are given in bytes directly
    return (frame - itemStartFrame) * 2;
  };
  const auto& chunks = item.script.chunks;
  const std::int64_t startPosition = toFile ? file->Position() : 0;
  Raise(MakeEvent(kEventStreamStart, item.stream, startPosition));

  std::deque<TimedEvent> pending;
  std::size_t k = 0;
  // Pieces asked of the engine ahead of the one being played or written, so that the engine
  // never waits for the sound output or the file.
  constexpr std::size_t kAhead = 2;
  std::deque<std::future<SynthesisResult>> ahead;
  std::size_t requested = 0;  // index of the next piece to ask for
  const auto request = [&] {
    while (requested < chunks.size() && requested < k + kAhead) {
      const SpeechChunk& chunk = chunks[requested++];
      ahead.push_back(
          engine_.Synthesize(chunk.utf8, CurrentSettings(), chunk.endsSentence, !toFile, drop));
    }
  };
  bool firstSample = true;
  while (k < chunks.size() && !drop->load()) {
    request();
    SynthesisResult result = ahead.front().get();
    ahead.pop_front();
    if (drop->load()) break;
    const SpeechChunk& chunk = chunks[k];

    // This piece's events, in frames of the output (files: in bytes of the stream).
    const std::int64_t base = toFile ? file->Position() : sound_->WrittenFrames();
    const double bytesPerSample = toFile ? static_cast<double>(file->BytesPerSecond()) / rate : 1.0;
    const auto at = [&](std::int64_t sample) {
      return base + static_cast<std::int64_t>(static_cast<double>(sample) * bytesPerSample);
    };
    if (chunk.startsSentence) {
      const TextSpan sentence = item.script.sentences[static_cast<std::size_t>(chunk.sentence)];
      pending.push_back({at(0), {}});
      pending.back().event = MakeEvent(kEventSentence, item.stream, streamPosition(at(0)),
                                       {sentence.position, sentence.length});
    }
    TextSpan lastWord{-1, -1};
    for (const EngineEvent& e : result.events) {
      if (e.kind != EngineEvent::kWord) continue;
      const TextSpan word = chunk.SpanOf(e.textPosition, e.length);
      if (word == lastWord || word.length == 0) continue;  // the engine repeats some words
      lastWord = word;
      pending.push_back({at(e.sample), {}});
      pending.back().event = MakeEvent(kEventWord, item.stream, streamPosition(at(e.sample)),
                                       {word.position, word.length});
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.frame < b.frame; });

    if (toFile) {
      // Following the synthesis: the events of a piece, then its sound.
      Deliver(pending, INT64_MAX);
      if (!file->WriteSpeech(result.samples, rate)) break;
      ++k;
      continue;
    }

    bool skipped = false;
    for (std::size_t offset = 0; offset < result.samples.size();) {
      if (!WaitWhilePaused(drop)) break;
      if (const int count = TakeSkipRequest(); count != 0) {
        skipped = true;
        const int target =
            std::clamp(chunk.sentence + count, 0, static_cast<int>(item.script.sentences.size()));
        AnswerSkip(target - chunk.sentence);
        std::size_t to = 0;
        while (to < chunks.size() && chunks[to].sentence < target) ++to;
        k = to;
      }
      if (skipped) break;
      const std::size_t count = std::min(kBlockFrames, result.samples.size() - offset);
      if (firstSample) {
        firstSample = false;
        std::lock_guard lock(mutex_);
        firstSample_ = std::chrono::steady_clock::now();
      }
      if (!sound_->Write(result.samples.data() + offset, count)) {
        // The sound server went away: go on silently, at the same pace and frame count.
        sound_ = OpenSilentOutput(rate, sound_->WrittenFrames());
        sound_->Write(result.samples.data() + offset, count);
      }
      offset += count;
      Deliver(pending, sound_->PlayedFrames());
    }
    if (skipped) {
      sound_->Flush();
      pending.clear();
      ahead.clear();  // their results are not wanted; the engine finishes them all the same
      requested = k;
      continue;
    }
    ++k;
  }

  if (drop->load()) {
    if (!toFile) sound_->Flush();
    pending.clear();
  } else if (!toFile) {
    // Let the sound run out, raising the events it passes.
    while (sound_->PlayedFrames() < sound_->WrittenFrames() && !drop->load()) {
      Deliver(pending, sound_->PlayedFrames());
      SleepFor(std::chrono::milliseconds(5), drop, /*wakeOnSkip=*/false);
    }
    if (drop->load()) sound_->Flush();
  }
  Deliver(pending, INT64_MAX);
  const std::int64_t endPosition =
      toFile ? file->Position() : streamPosition(sound_->WrittenFrames());
  Raise(MakeEvent(kEventStreamEnd, item.stream, endPosition));
}

}  // namespace quillorn
