#include "speech/platform/espeak_voice.h"

#include <algorithm>
#include <cmath>

#include "text/codepage.h"
#include "text/operations.h"

namespace quillorn {
namespace {

constexpr std::string_view kVendor = "eSpeak NG";
constexpr std::size_t kBlockFrames = 441;  // 20 ms at 22,050 Hz

// "Name=value;Name=value": every named attribute has that value, ASCII case ignored. A part
// without "=" asks only that the attribute is not empty.
bool MatchAll(const Token& token, std::string_view attributes) {
  for (const Text& part : Split(attributes, ";")) {
    const Text trimmed = Trim(part);
    if (trimmed.empty()) continue;
    const int equals = Find(trimmed, "=");
    const Text name =
        Trim(LeftPart(trimmed, equals == -1 ? static_cast<int>(trimmed.size()) : equals - 1));
    const Text have = LowerCase(token.Attribute(name));
    if (equals == -1) {
      if (have.empty()) return false;
      continue;
    }
    const Text want =
        LowerCase(Trim(MiddlePart(trimmed, equals + 1, static_cast<int>(trimmed.size()))));
    const bool languagePrefix = LowerCase(name) == "language" && have.starts_with(want + "-");
    if (have != want && !languagePrefix) return false;
  }
  return true;
}

VoiceEvent MakeEvent(int number, int stream, std::int64_t position, std::vector<int> rest = {}) {
  VoiceEvent event;
  event.number = number;
  event.arguments.emplace_back(static_cast<std::int32_t>(stream));
  event.arguments.emplace_back(
      static_cast<std::int32_t>(std::min<std::int64_t>(position, INT32_MAX)));
  for (int value : rest) event.arguments.emplace_back(static_cast<std::int32_t>(value));
  return event;
}

int IntArgument(const VoiceEvent& event, std::size_t index) {
  if (index >= event.arguments.size()) return 0;
  const auto* value = std::get_if<std::int32_t>(&event.arguments[index]);
  return value ? *value : 0;
}

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
  return MatchAll(*this, attributes);
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
  return MatchAll(*this, attributes);
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

EspeakVoice::~EspeakVoice() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
    if (dropCurrent_) dropCurrent_->store(true);
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    // The last reference may be dropped by an event handler on the voice thread itself.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }
}

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

FileStreamRef EspeakVoice::GetAudioOutputStream() const {
  std::lock_guard lock(mutex_);
  return outputStream_;
}

bool EspeakVoice::SetAudioOutputStream(const FileStreamRef& stream) {
  auto wav = std::dynamic_pointer_cast<WavFileStream>(stream);
  if (stream && !wav) return false;
  std::lock_guard lock(mutex_);
  outputStream_ = std::move(wav);
  return true;
}

double EspeakVoice::Rate() const {
  std::lock_guard lock(mutex_);
  return rate_;
}

bool EspeakVoice::SetRate(int rate) {
  if (rate < -10 || rate > 10) return false;
  std::lock_guard lock(mutex_);
  rate_ = rate;
  return true;
}

double EspeakVoice::Volume() const {
  std::lock_guard lock(mutex_);
  return volume_;
}

bool EspeakVoice::SetVolume(int volume) {
  if (volume < 0 || volume > 100) return false;
  std::lock_guard lock(mutex_);
  volume_ = volume;
  return true;
}

double EspeakVoice::EventInterests() const {
  std::lock_guard lock(mutex_);
  return eventInterests_;
}

bool EspeakVoice::SetEventInterests(int interests) {
  std::lock_guard lock(mutex_);
  eventInterests_ = interests;
  return true;
}

double EspeakVoice::Priority() const {
  std::lock_guard lock(mutex_);
  return priority_;
}

bool EspeakVoice::SetPriority(int priority) {
  if (priority < 0 || priority > 2) return false;
  std::lock_guard lock(mutex_);
  priority_ = priority;
  return true;
}

double EspeakVoice::AlertBoundary() const {
  std::lock_guard lock(mutex_);
  return alertBoundary_;
}

bool EspeakVoice::SetAlertBoundary(int boundary) {
  std::lock_guard lock(mutex_);
  alertBoundary_ = boundary;
  return true;
}

double EspeakVoice::SynchronousSpeakTimeout() const {
  std::lock_guard lock(mutex_);
  return synchronousSpeakTimeout_;
}

bool EspeakVoice::SetSynchronousSpeakTimeout(int milliseconds) {
  if (milliseconds < 0) return false;
  std::lock_guard lock(mutex_);
  synchronousSpeakTimeout_ = milliseconds;
  return true;
}

double EspeakVoice::Speak(std::string_view text, int flags) {
  Item item;
  item.script = PrepareSpeech(GbkToUtf16(text));
  int stream = 0;
  {
    std::unique_lock lock(mutex_);
    if (flags & kSpeakPurgeBefore) {
      queue_.clear();
      if (dropCurrent_) dropCurrent_->store(true);
      completedThrough_ = lastQueued_;
      paused_ = false;
      finished_.notify_all();
    }
    stream = ++lastQueued_;
    item.stream = stream;
    item.file = outputStream_;
    queue_.push_back(std::move(item));
    status_.lastStreamNumberQueued = stream;
    if ((flags & kSpeakPurgeBefore) || (!busy_ && queue_.size() == 1)) {
      // Nothing else is spoken first: progress starts from the beginning of this text now, not
      // when the voice thread takes it up.
      status_.inputWordPosition = status_.inputWordLength = 0;
      status_.inputSentencePosition = status_.inputSentenceLength = 0;
    }
    status_.runningState = kRunningStateSpeaking;
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_all();
  if (!(flags & kSpeakAsync)) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return completedThrough_ >= stream || stopping_; });
  }
  return stream;
}

double EspeakVoice::SpeakStream(const FileStreamRef&, int) { return 0; }

VoiceStatusRef EspeakVoice::Status() const {
  std::lock_guard lock(mutex_);
  return std::make_shared<StatusSnapshot>(status_);
}

void EspeakVoice::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void EspeakVoice::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  wake_.notify_all();
}

double EspeakVoice::Skip(std::string_view kind, int count) {
  if (LowerCase(kind) != "sentence") return 0;
  std::unique_lock lock(mutex_);
  if (!busy_ || count == 0) return 0;
  skipRequest_ = count;
  skipPending_ = true;
  skipAnswered_ = false;
  wake_.notify_all();
  finished_.wait_for(lock, std::chrono::seconds(2), [&] { return skipAnswered_ || !busy_; });
  return skipAnswered_ ? skipResult_ : 0;
}

bool EspeakVoice::WaitUntilDone(int milliseconds) {
  std::unique_lock lock(mutex_);
  const auto done = [&] { return status_.runningState == kRunningStateDone; };
  if (milliseconds < 0) {
    finished_.wait(lock, done);
    return true;
  }
  return finished_.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
}

bool EspeakVoice::IsUISupported(std::string_view, const AnyValue&) { return false; }

void EspeakVoice::DisplayUI(std::int64_t, std::string_view, std::string_view, const AnyValue&) {}

int EspeakVoice::ConnectEvents(VoiceEventSink sink) {
  std::lock_guard lock(mutex_);
  sinks_.emplace_back(++lastConnection_, std::make_shared<VoiceEventSink>(std::move(sink)));
  return lastConnection_;
}

void EspeakVoice::DisconnectEvents(int connection) {
  std::lock_guard lock(mutex_);
  std::erase_if(sinks_, [&](const auto& entry) { return entry.first == connection; });
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

void EspeakVoice::ApplyToStatus(const VoiceEvent& event) {
  if (event.number == kEventWord) {
    status_.inputWordPosition = IntArgument(event, 2);
    status_.inputWordLength = IntArgument(event, 3);
  } else if (event.number == kEventSentence) {
    status_.inputSentencePosition = IntArgument(event, 2);
    status_.inputSentenceLength = IntArgument(event, 3);
  }
}

void EspeakVoice::Raise(const VoiceEvent& event) {
  std::vector<std::shared_ptr<VoiceEventSink>> sinks;
  {
    std::lock_guard lock(mutex_);
    ApplyToStatus(event);
    if ((eventInterests_ & (1 << (event.number - 1))) == 0) return;
    for (const auto& entry : sinks_) sinks.push_back(entry.second);
  }
  // Never under the lock: handlers may call back into the voice.
  for (const auto& sink : sinks) {
    if (*sink) (*sink)(event);
  }
}

void EspeakVoice::Deliver(std::deque<TimedEvent>& events, std::int64_t playedFrames) {
  // An event is due once the first sample behind it is heard.
  while (!events.empty() && events.front().frame < playedFrames) {
    Raise(events.front().event);
    events.pop_front();
  }
}

bool EspeakVoice::WaitWhilePaused() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return !paused_ || stopping_ || dropCurrent_->load() || skipPending_; });
  return !stopping_ && !dropCurrent_->load();
}

void EspeakVoice::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    Item item = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    dropCurrent_ = std::make_shared<std::atomic<bool>>(false);
    status_.currentStreamNumber = item.stream;
    status_.inputWordPosition = status_.inputWordLength = 0;
    status_.inputSentencePosition = status_.inputSentenceLength = 0;
    lock.unlock();
    SpeakItem(item);
    lock.lock();
    busy_ = false;
    if (skipPending_) {
      skipPending_ = false;
      skipAnswered_ = true;
      skipResult_ = 0;
    }
    completedThrough_ = std::max(completedThrough_, item.stream);
    if (queue_.empty()) status_.runningState = kRunningStateDone;
    finished_.notify_all();
  }
}

void EspeakVoice::SpeakItem(Item& item) {
  const std::shared_ptr<std::atomic<bool>> drop = [&] {
    std::lock_guard lock(mutex_);
    return dropCurrent_;
  }();
  const bool toFile = item.file != nullptr;
  const int rate = engine_.SampleRate();
  // Each reading tries the sound server again when the last one had to go without it.
  if (!toFile && (!sound_ || !sound_->IsSoundServer())) sound_ = OpenSoundOutput(rate);
  const std::int64_t itemStartFrame = toFile ? 0 : sound_->WrittenFrames();
  const auto streamPosition = [&](std::int64_t frame) -> std::int64_t {
    if (toFile) return frame;  // files: positions are given in bytes directly
    return (frame - itemStartFrame) * 2;
  };
  const auto& chunks = item.script.chunks;
  const std::int64_t startPosition = toFile ? item.file->Position() : 0;
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
    const std::int64_t base = toFile ? item.file->Position() : sound_->WrittenFrames();
    const double bytesPerSample =
        toFile ? static_cast<double>(item.file->BytesPerSecond()) / rate : 1.0;
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
      if (!item.file->WriteSpeech(result.samples, rate)) break;
      ++k;
      continue;
    }

    bool skipped = false;
    for (std::size_t offset = 0; offset < result.samples.size();) {
      if (!WaitWhilePaused()) break;
      {
        std::lock_guard lock(mutex_);
        if (skipPending_) {
          skipPending_ = false;
          skipped = true;
          const int target = std::clamp(chunk.sentence + skipRequest_, 0,
                                        static_cast<int>(item.script.sentences.size()));
          skipResult_ = target - chunk.sentence;
          skipAnswered_ = true;
          finished_.notify_all();
          std::size_t to = 0;
          while (to < chunks.size() && chunks[to].sentence < target) ++to;
          k = to;
        }
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
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, std::chrono::milliseconds(5));
    }
    if (drop->load()) sound_->Flush();
  }
  Deliver(pending, INT64_MAX);
  const std::int64_t endPosition =
      toFile ? item.file->Position() : streamPosition(sound_->WrittenFrames());
  Raise(MakeEvent(kEventStreamEnd, item.stream, endPosition));
}

}  // namespace quillorn
