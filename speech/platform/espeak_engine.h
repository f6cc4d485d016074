// The one espeak-ng engine of the process, run on a thread of its own. espeak-ng keeps global
// state and is not thread-safe, so every synthesis goes through this service: callers submit
// one piece of text at a time and get its samples and events back. Urgent requests (speech that
// is heard) go before the others, so a reading starts promptly while an export runs.
#ifndef QUILLORN_SPEECH_PLATFORM_ESPEAK_ENGINE_H_
#define QUILLORN_SPEECH_PLATFORM_ESPEAK_ENGINE_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillorn {

struct EngineVoice {
  std::string name;        // "English (Great Britain)"
  std::string identifier;  // "gmw/en"
  std::string language;    // "en-gb"
  int gender = 0;          // 0 none, 1 male, 2 female
  int age = 0;             // 0 when not given
};

struct SynthesisSettings {
  std::string voiceIdentifier;
  int wordsPerMinute = 175;
  int amplitude = 100;
};

struct EngineEvent {
  enum Kind { kWord, kSentence, kEnd };
  Kind kind = kWord;
  int textPosition = 0;     // 1-based code point of the piece
  int length = 0;           // code points (words only)
  std::int64_t sample = 0;  // index in the piece's samples
};

struct SynthesisResult {
  bool ok = false;
  std::vector<std::int16_t> samples;  // mono, at SampleRate()
  std::vector<EngineEvent> events;
};

class EspeakEngine {
 public:
  // The engine, started on first use; nullptr when espeak-ng cannot start (its data missing).
  static EspeakEngine* Instance();

  ~EspeakEngine();

  int SampleRate() const { return sampleRate_; }
  const std::vector<EngineVoice>& Voices() const { return voices_; }
  // Position of the voice new voice objects start with (English).
  int DefaultVoice() const { return defaultVoice_; }

  // Queues one piece of UTF-8 text. `cancelled`, when set before or during the synthesis, ends
  // it early with ok false. `endPause` adds the pause that follows a sentence.
  std::future<SynthesisResult> Synthesize(std::string utf8, SynthesisSettings settings,
                                          bool endPause, bool urgent,
                                          std::shared_ptr<std::atomic<bool>> cancelled = {});

 private:
  struct Request {
    std::string utf8;
    SynthesisSettings settings;
    bool endPause = false;
    std::shared_ptr<std::atomic<bool>> cancelled;
    std::promise<SynthesisResult> promise;
  };

  EspeakEngine() = default;
  bool Start();
  void Run();
  SynthesisResult Process(Request& request);

  int sampleRate_ = 0;
  std::vector<EngineVoice> voices_;
  int defaultVoice_ = 0;
  std::string currentVoice_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Request> urgent_;
  std::deque<Request> normal_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_ESPEAK_ENGINE_H_
