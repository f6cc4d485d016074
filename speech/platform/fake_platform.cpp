#include "speech/platform/fake_platform.h"

#include <condition_variable>
#include <deque>
#include <thread>

#include "speech/platform/plain_audio_format.h"
#include "speech/platform/speech_script.h"
#include "speech/platform/status_snapshot.h"
#include "text/codepage.h"
#include "text/operations.h"

namespace quillorn {
namespace {

constexpr std::size_t kBytesPerWord = 100;  // what a fake file stream gets for each word

class FakeToken : public Token {
 public:
  FakeToken(int index, Text name) : index_(index), name_(std::move(name)) {}
  int Index() const { return index_; }
  Text Id() const override { return "fake/" + DecimalText(index_); }
  ObjectRef Category() const override { return nullptr; }
  Text Description(int) const override { return name_; }
  Text Attribute(std::string_view name) const override {
    const Text key = LowerCase(name);
    if (key == "name") return name_;
    if (key == "vendor") return "Quillorn";
    return Text();
  }
  ObjectRef CreateInstance(const ObjectRef&, int) const override { return nullptr; }
  bool MatchesAttributes(std::string_view attributes) const override {
    for (const Text& part : Split(attributes, ";")) {
      const int equals = Find(part, "=");
      if (Trim(part).empty()) continue;
      if (equals == -1) return false;
      if (LowerCase(Attribute(Trim(LeftPart(part, equals - 1)))) !=
          LowerCase(Trim(MiddlePart(part, equals + 1, static_cast<int>(part.size()))))) {
        return false;
      }
    }
    return true;
  }

 private:
  int index_;
  Text name_;
};

class FakeTokens : public TokenCollection {
 public:
  explicit FakeTokens(std::vector<TokenRef> tokens) : tokens_(std::move(tokens)) {}
  double Count() const override { return static_cast<double>(tokens_.size()); }
  TokenRef Item(int index) const override {
    if (index < 0 || index >= static_cast<int>(tokens_.size())) return nullptr;
    return tokens_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<TokenRef> tokens_;
};

class FakeFileStream : public FileStream {
 public:
  explicit FakeFileStream(FakeSpeechPlatform& platform) : platform_(platform) {}
  AudioFormatRef Format() const override {
    std::lock_guard lock(mutex_);
    return format_;
  }
  bool SetFormat(const AudioFormatRef& format) override {
    if (!format) return false;
    std::lock_guard lock(mutex_);
    format_ = format;
    return true;
  }
  double Read(AnyValue&, int) override { return 0; }
  double Write(const AnyValue& buffer) override {
    const auto* bytes = std::get_if<ByteArray>(&buffer);
    std::lock_guard lock(mutex_);
    if (!open_ || failed_ || bytes == nullptr) return 0;
    data_.insert(data_.end(), bytes->begin(), bytes->end());
    return static_cast<double>(bytes->size());
  }
  AnyValue Seek(const AnyValue&, int) override {
    std::lock_guard lock(mutex_);
    return static_cast<std::int64_t>(data_.size());
  }
  void Open(std::string_view path, int mode, bool) override {
    std::lock_guard lock(mutex_);
    path_.assign(path);
    data_.clear();
    open_ = mode == kStreamCreateForWrite;
    failed_ = !open_ || path_.starts_with("/unwritable/");
  }
  void Close() override {
    std::lock_guard lock(mutex_);
    if (open_ && !failed_ && !platform_.StoreFile(path_, data_)) failed_ = true;
    open_ = false;
  }
  bool Failed() const override {
    std::lock_guard lock(mutex_);
    return failed_;
  }
  // The fake voice's speech: some bytes per word.
  std::int64_t AddWord() {
    std::lock_guard lock(mutex_);
    if (open_ && !failed_) data_.insert(data_.end(), kBytesPerWord, 0xFF);
    return static_cast<std::int64_t>(data_.size());
  }

 private:
  FakeSpeechPlatform& platform_;
  mutable std::mutex mutex_;
  AudioFormatRef format_;
  std::string path_;
  ByteArray data_;
  bool open_ = false;
  bool failed_ = false;
};

// Words: runs of characters between spaces, without punctuation at their ends.
std::vector<TextSpan> WordsOf(std::u16string_view text, TextSpan sentence) {
  const auto isSpace = [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
  };
  const auto isMark = [](char16_t c) {
    return c < 0x80 &&
           !((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'));
  };
  std::vector<TextSpan> words;
  int i = sentence.position;
  const int end = sentence.position + sentence.length;
  while (i < end) {
    while (i < end && isSpace(text[static_cast<std::size_t>(i)])) ++i;
    int j = i;
    while (j < end && !isSpace(text[static_cast<std::size_t>(j)])) ++j;
    int a = i, b = j;
    while (a < b && isMark(text[static_cast<std::size_t>(a)])) ++a;
    while (b > a && isMark(text[static_cast<std::size_t>(b - 1)])) --b;
    if (b > a) words.push_back({a, b - a});
    i = j;
  }
  return words;
}

class FakeVoice : public Voice {
 public:
  explicit FakeVoice(FakeSpeechPlatform& platform) : platform_(platform) {}
  ~FakeVoice() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      queue_.clear();
      ++drops_;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
      if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
      } else {
        thread_.join();
      }
    }
  }

  TokenCollectionRef GetVoices(std::string_view required, std::string_view) override {
    std::vector<TokenRef> tokens;
    for (std::size_t i = 0; i < platform_.VoiceNames().size(); ++i) {
      auto token = std::make_shared<FakeToken>(static_cast<int>(i), platform_.VoiceNames()[i]);
      if (token->MatchesAttributes(required)) tokens.push_back(token);
    }
    return std::make_shared<FakeTokens>(std::move(tokens));
  }
  TokenCollectionRef GetAudioOutputs(std::string_view, std::string_view) override {
    return std::make_shared<FakeTokens>(std::vector<TokenRef>{});
  }
  TokenRef GetVoice() const override {
    std::lock_guard lock(mutex_);
    return std::make_shared<FakeToken>(voice_,
                                       platform_.VoiceNames()[static_cast<std::size_t>(voice_)]);
  }
  bool SetVoice(const TokenRef& token) override {
    const auto* fake = dynamic_cast<const FakeToken*>(token.get());
    if (fake == nullptr) return false;
    std::lock_guard lock(mutex_);
    voice_ = fake->Index();
    return true;
  }
  TokenRef GetAudioOutput() const override { return nullptr; }
  bool SetAudioOutput(const TokenRef&) override { return false; }
  FileStreamRef GetAudioOutputStream() const override {
    std::lock_guard lock(mutex_);
    return stream_;
  }
  bool SetAudioOutputStream(const FileStreamRef& stream) override {
    auto fake = std::dynamic_pointer_cast<FakeFileStream>(stream);
    if (stream && !fake) return false;
    std::lock_guard lock(mutex_);
    stream_ = std::move(fake);
    return true;
  }
  double Rate() const override { return Get(rate_); }
  bool SetRate(int rate) override { return rate >= -10 && rate <= 10 && Set(rate_, rate); }
  double Volume() const override { return Get(volume_); }
  bool SetVolume(int volume) override {
    return volume >= 0 && volume <= 100 && Set(volume_, volume);
  }
  double EventInterests() const override { return Get(interests_); }
  bool SetEventInterests(int value) override { return Set(interests_, value); }
  double Priority() const override { return Get(priority_); }
  bool SetPriority(int value) override { return value >= 0 && value <= 2 && Set(priority_, value); }
  double AlertBoundary() const override { return Get(alertBoundary_); }
  bool SetAlertBoundary(int value) override { return Set(alertBoundary_, value); }
  double SynchronousSpeakTimeout() const override { return Get(timeout_); }
  bool SetSynchronousSpeakTimeout(int value) override { return value >= 0 && Set(timeout_, value); }

  double Speak(std::string_view text, int flags) override {
    Item item{0, GbkToUtf16(text), nullptr};
    int stream = 0;
    {
      std::lock_guard lock(mutex_);
      if (flags & kSpeakPurgeBefore) {
        queue_.clear();
        ++drops_;
        completedThrough_ = lastQueued_;
        paused_ = false;
        finished_.notify_all();
      }
      stream = ++lastQueued_;
      item.stream = stream;
      item.file = stream_;
      if ((flags & kSpeakPurgeBefore) || (!busy_ && queue_.empty())) {
        status_.inputWordPosition = status_.inputWordLength = 0;
        status_.inputSentencePosition = status_.inputSentenceLength = 0;
      }
      queue_.push_back(std::move(item));
      status_.lastStreamNumberQueued = stream;
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
  double SpeakStream(const FileStreamRef&, int) override { return 0; }
  VoiceStatusRef Status() const override {
    std::lock_guard lock(mutex_);
    return std::make_shared<StatusSnapshot>(status_);
  }
  void Pause() override { Set(paused_, true); }
  void Resume() override {
    Set(paused_, false);
    wake_.notify_all();
  }
  double Skip(std::string_view kind, int count) override {
    if (LowerCase(kind) != "sentence" || count <= 0) return 0;
    std::lock_guard lock(mutex_);
    if (!busy_) return 0;
    skip_ += count;
    wake_.notify_all();
    return count;
  }
  bool WaitUntilDone(int milliseconds) override {
    std::unique_lock lock(mutex_);
    const auto done = [&] { return status_.runningState == kRunningStateDone; };
    if (milliseconds < 0) {
      finished_.wait(lock, done);
      return true;
    }
    return finished_.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
  }
  bool IsUISupported(std::string_view, const AnyValue&) override { return false; }
  void DisplayUI(std::int64_t, std::string_view, std::string_view, const AnyValue&) override {}
  int ConnectEvents(VoiceEventSink sink) override {
    std::lock_guard lock(mutex_);
    sinks_.emplace_back(++connections_, std::make_shared<VoiceEventSink>(std::move(sink)));
    return connections_;
  }
  void DisconnectEvents(int connection) override {
    std::lock_guard lock(mutex_);
    std::erase_if(sinks_, [&](const auto& entry) { return entry.first == connection; });
  }

 private:
  struct Item {
    int stream;
    std::u16string text;
    std::shared_ptr<FakeFileStream> file;
  };

  template <typename T>
  T Get(const T& field) const {
    std::lock_guard lock(mutex_);
    return field;
  }
  template <typename T>
  bool Set(T& field, T value) {
    std::lock_guard lock(mutex_);
    field = value;
    return true;
  }

  void Raise(int number, int stream, std::int64_t position, std::vector<int> rest = {}) {
    VoiceEvent event;
    event.number = number;
    event.arguments = {static_cast<std::int32_t>(stream), static_cast<std::int32_t>(position)};
    for (int value : rest) event.arguments.emplace_back(static_cast<std::int32_t>(value));
    std::vector<std::shared_ptr<VoiceEventSink>> sinks;
    {
      std::lock_guard lock(mutex_);
      if (number == kEventWord) {
        status_.inputWordPosition = rest[0];
        status_.inputWordLength = rest[1];
      } else if (number == kEventSentence) {
        status_.inputSentencePosition = rest[0];
        status_.inputSentenceLength = rest[1];
      }
      if ((interests_ & (1 << (number - 1))) == 0) return;
      for (const auto& entry : sinks_) sinks.push_back(entry.second);
    }
    for (const auto& sink : sinks) {
      if (*sink) (*sink)(event);
    }
  }

  // Waits while paused, and for a heard word's duration; false when the item is dropped.
  bool Wait(int drops, bool heard) {
    std::unique_lock lock(mutex_);
    const auto dropped = [&] { return stopping_ || drops_ != drops; };
    wake_.wait(lock, [&] { return !paused_ || dropped() || skip_ > 0; });
    if (heard)
      wake_.wait_for(lock, platform_.WordDuration(), [&] { return dropped() || skip_ > 0; });
    return !dropped();
  }

  void SpeakItem(const Item& item, int drops) {
    const SpeechScript script = PrepareSpeech(item.text);
    std::int64_t position = 0;
    Raise(kEventStreamStart, item.stream, position);
    for (std::size_t s = 0; s < script.sentences.size(); ++s) {
      {
        std::lock_guard lock(mutex_);
        if (skip_ > 0) {
          --skip_;
          continue;
        }
      }
      const TextSpan sentence = script.sentences[s];
      Raise(kEventSentence, item.stream, position, {sentence.position, sentence.length});
      for (const TextSpan& word : WordsOf(item.text, sentence)) {
        Raise(kEventWord, item.stream, position, {word.position, word.length});
        if (item.file) {
          position = item.file->AddWord();
        } else {
          position += kBytesPerWord;
        }
        if (!Wait(drops, !item.file)) return;
        std::lock_guard lock(mutex_);
        if (skip_ > 0) {  // the rest of this sentence is the first one skipped
          --skip_;
          break;
        }
      }
    }
    Raise(kEventStreamEnd, item.stream, position);
  }

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      Item item = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      skip_ = 0;
      status_.currentStreamNumber = item.stream;
      const int drops = drops_;
      lock.unlock();
      SpeakItem(item, drops);
      lock.lock();
      busy_ = false;
      completedThrough_ = std::max(completedThrough_, item.stream);
      if (queue_.empty()) status_.runningState = kRunningStateDone;
      finished_.notify_all();
    }
  }

  FakeSpeechPlatform& platform_;
  mutable std::mutex mutex_;
  std::condition_variable wake_, finished_;
  int voice_ = 0, rate_ = 0, volume_ = 100, interests_ = 0x3FF, priority_ = 0, alertBoundary_ = 0,
      timeout_ = 10000;
  std::shared_ptr<FakeFileStream> stream_;
  std::vector<std::pair<int, std::shared_ptr<VoiceEventSink>>> sinks_;
  int connections_ = 0;
  std::deque<Item> queue_;
  bool busy_ = false, paused_ = false, stopping_ = false;
  int lastQueued_ = 0, completedThrough_ = 0, drops_ = 0, skip_ = 0;
  StatusValues status_;
  std::thread thread_;
};

}  // namespace

FakeSpeechPlatform::FakeSpeechPlatform(std::vector<Text> voices,
                                       std::chrono::milliseconds wordDuration)
    : voices_(std::move(voices)), wordDuration_(wordDuration) {}

bool FakeSpeechPlatform::SoundServerAvailable() {
  std::lock_guard lock(mutex_);
  return soundServer_;
}

void FakeSpeechPlatform::SetSoundServerAvailable(bool available) {
  std::lock_guard lock(mutex_);
  soundServer_ = available;
}

std::map<std::string, ByteArray> FakeSpeechPlatform::Files() const {
  std::lock_guard lock(mutex_);
  return files_;
}

bool FakeSpeechPlatform::StoreFile(const std::string& path, ByteArray bytes) {
  std::lock_guard lock(mutex_);
  files_[path] = std::move(bytes);
  return true;
}

ObjectRef FakeSpeechPlatform::CreateVoice() { return std::make_shared<FakeVoice>(*this); }

ObjectRef FakeSpeechPlatform::CreateFileStream() { return std::make_shared<FakeFileStream>(*this); }

ObjectRef FakeSpeechPlatform::CreateAudioFormat() { return std::make_shared<PlainAudioFormat>(); }

}  // namespace quillorn
