#include "speech/platform/fake_platform.h"

#include <algorithm>

#include "speech/platform/plain_audio_format.h"
#include "speech/platform/queued_voice.h"
#include "speech/platform/speech_script.h"
#include "speech/platform/token_attributes.h"
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
    return MatchesTokenAttributes(*this, attributes);
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

class FakeVoice : public QueuedVoice {
 public:
  explicit FakeVoice(FakeSpeechPlatform& platform) : platform_(platform) {}
  ~FakeVoice() override { StopVoiceThread(); }

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

 private:
  bool AcceptsStream(const FileStreamRef& stream) const override {
    return std::dynamic_pointer_cast<FakeFileStream>(stream) != nullptr;
  }

  // Each word is reported, then takes the word duration when heard (no time in a file).
  void SpeakItem(Item& item, const DropFlag& drop) override {
    const auto file = std::static_pointer_cast<FakeFileStream>(item.file);
    const SpeechScript& script = item.script;
    std::int64_t position = 0;
    Raise(MakeEvent(kEventStreamStart, item.stream, position));
    std::size_t s = 0;
    while (s < script.sentences.size()) {
      const TextSpan sentence = script.sentences[s];
      Raise(MakeEvent(kEventSentence, item.stream, position, {sentence.position, sentence.length}));
      std::size_t next = s + 1;
      for (const TextSpan& word : WordsOf(script.units, sentence)) {
        Raise(MakeEvent(kEventWord, item.stream, position, {word.position, word.length}));
        position = file ? file->AddWord() : position + static_cast<std::int64_t>(kBytesPerWord);
        // The word is heard, then a pause holds the voice before the next one begins.
        if ((!file && !SleepFor(platform_.WordDuration(), drop)) || !WaitWhilePaused(drop)) return;
        if (const int count = TakeSkipRequest(); count != 0) {
          const int target =
              std::clamp(static_cast<int>(s) + count, 0, static_cast<int>(script.sentences.size()));
          AnswerSkip(target - static_cast<int>(s));
          next = static_cast<std::size_t>(target);
          break;
        }
      }
      s = next;
    }
    Raise(MakeEvent(kEventStreamEnd, item.stream, position));
  }

  FakeSpeechPlatform& platform_;
  int voice_ = 0;  // guarded by mutex_
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
