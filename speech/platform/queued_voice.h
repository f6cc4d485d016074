// What every voice of the platform shares: its settings, its queue of texts spoken in turn on a
// thread of its own, its status, its event connections, and the pause, purge and skip requests
// that the thread honours. A backend says how one queued text is spoken (SpeakItem) and which
// voices, outputs and streams it has.
#ifndef QUILLORN_SPEECH_PLATFORM_QUEUED_VOICE_H_
#define QUILLORN_SPEECH_PLATFORM_QUEUED_VOICE_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "speech/platform/speech_objects.h"
#include "speech/platform/speech_script.h"
#include "speech/platform/status_snapshot.h"

namespace quillorn {

class QueuedVoice : public Voice {
 public:
  ~QueuedVoice() override;

  FileStreamRef GetAudioOutputStream() const override;
  bool SetAudioOutputStream(const FileStreamRef& stream) override;
  double Rate() const override;
  bool SetRate(int rate) override;  // -10 to 10
  double Volume() const override;
  bool SetVolume(int volume) override;  // 0 to 100
  double EventInterests() const override;
  bool SetEventInterests(int interests) override;
  double Priority() const override;
  bool SetPriority(int priority) override;
  double AlertBoundary() const override;
  bool SetAlertBoundary(int boundary) override;
  double SynchronousSpeakTimeout() const override;
  bool SetSynchronousSpeakTimeout(int milliseconds) override;
  double Speak(std::string_view text, int flags) override;
  double SpeakStream(const FileStreamRef& stream, int flags) override;  // not supported: 0
  VoiceStatusRef Status() const override;
  void Pause() override;
  void Resume() override;
  // Skips sentences of the text being spoken; waits (at most 2 s) for the voice thread to say
  // how many it skipped.
  double Skip(std::string_view kind, int count) override;
  bool WaitUntilDone(int milliseconds) override;
  bool IsUISupported(std::string_view kind, const AnyValue& data) override;
  void DisplayUI(std::int64_t window, std::string_view title, std::string_view kind,
                 const AnyValue& data) override;
  int ConnectEvents(VoiceEventSink sink) override;
  void DisconnectEvents(int connection) override;

 protected:
  struct Item {
    int stream = 0;
    SpeechScript script;
    FileStreamRef file;  // no file: the sound output
  };
  using DropFlag = std::shared_ptr<std::atomic<bool>>;

  // Speaks one queued text on the voice thread; returns early once `drop` is set.
  virtual void SpeakItem(Item& item, const DropFlag& drop) = 0;
  // Whether SetAudioOutputStream takes this stream (never called with none).
  virtual bool AcceptsStream(const FileStreamRef& stream) const = 0;

  // Ends the voice thread; every backend's destructor calls it first, before its own members go.
  void StopVoiceThread();

  // Applies the event to the status and hands it to every connection it interests.
  void Raise(const VoiceEvent& event);
  static VoiceEvent MakeEvent(int number, int stream, std::int64_t position,
                              std::vector<int> rest = {});

  // For the voice thread: waits while paused; false when the item is dropped.
  bool WaitWhilePaused(const DropFlag& drop);
  // For the voice thread: waits up to `duration`, less when the item is dropped or (with
  // `wakeOnSkip`) a skip is asked for; false when the item is dropped.
  bool SleepFor(std::chrono::milliseconds duration, const DropFlag& drop, bool wakeOnSkip = true);
  // For the voice thread: the number of sentences a Skip asks to skip, or 0 when none waits.
  int TakeSkipRequest();
  // For the voice thread: tells the waiting Skip how many sentences were skipped.
  void AnswerSkip(int skipped);

  mutable std::mutex mutex_;  // guards everything below, and the backends' own settings
  int rate_ = 0;
  int volume_ = 100;

 private:
  void Run();

  std::condition_variable wake_;      // the voice thread: new item, resume, skip, stop
  std::condition_variable finished_;  // waiters of Speak, Skip and WaitUntilDone
  int eventInterests_ = 0x3FF;
  int priority_ = 0;
  int alertBoundary_ = 0;
  int synchronousSpeakTimeout_ = 10000;
  FileStreamRef outputStream_;
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
  DropFlag dropCurrent_;
  StatusValues status_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_QUEUED_VOICE_H_
