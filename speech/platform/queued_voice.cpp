#include "speech/platform/queued_voice.h"

#include <algorithm>
#include <climits>

#include "text/codepage.h"
#include "text/operations.h"

namespace quillorn {
namespace {

int IntArgument(const VoiceEvent& event, std::size_t index) {
  if (index >= event.arguments.size()) return 0;
  const auto* value = std::get_if<std::int32_t>(&event.arguments[index]);
  return value ? *value : 0;
}

}  // namespace

QueuedVoice::~QueuedVoice() { StopVoiceThread(); }

void QueuedVoice::StopVoiceThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
    if (dropCurrent_) dropCurrent_->store(true);
  }
  wake_.notify_all();
  finished_.notify_all();
  if (thread_.joinable()) {
    // The last reference may be dropped by an event handler on the voice thread itself.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }
}

FileStreamRef QueuedVoice::GetAudioOutputStream() const {
  std::lock_guard lock(mutex_);
  return outputStream_;
}

bool QueuedVoice::SetAudioOutputStream(const FileStreamRef& stream) {
  if (stream && !AcceptsStream(stream)) return false;
  std::lock_guard lock(mutex_);
  outputStream_ = stream;
  return true;
}

double QueuedVoice::Rate() const {
  std::lock_guard lock(mutex_);
  return rate_;
}

bool QueuedVoice::SetRate(int rate) {
  if (rate < -10 || rate > 10) return false;
  std::lock_guard lock(mutex_);
  rate_ = rate;
  return true;
}

double QueuedVoice::Volume() const {
  std::lock_guard lock(mutex_);
  return volume_;
}

bool QueuedVoice::SetVolume(int volume) {
  if (volume < 0 || volume > 100) return false;
  std::lock_guard lock(mutex_);
  volume_ = volume;
  return true;
}

double QueuedVoice::EventInterests() const {
  std::lock_guard lock(mutex_);
  return eventInterests_;
}

bool QueuedVoice::SetEventInterests(int interests) {
  std::lock_guard lock(mutex_);
  eventInterests_ = interests;
  return true;
}

double QueuedVoice::Priority() const {
  std::lock_guard lock(mutex_);
  return priority_;
}

bool QueuedVoice::SetPriority(int priority) {
  if (priority < 0 || priority > 2) return false;
  std::lock_guard lock(mutex_);
  priority_ = priority;
  return true;
}

double QueuedVoice::AlertBoundary() const {
  std::lock_guard lock(mutex_);
  return alertBoundary_;
}

bool QueuedVoice::SetAlertBoundary(int boundary) {
  std::lock_guard lock(mutex_);
  alertBoundary_ = boundary;
  return true;
}

double QueuedVoice::SynchronousSpeakTimeout() const {
  std::lock_guard lock(mutex_);
  return synchronousSpeakTimeout_;
}

bool QueuedVoice::SetSynchronousSpeakTimeout(int milliseconds) {
  if (milliseconds < 0) return false;
  std::lock_guard lock(mutex_);
  synchronousSpeakTimeout_ = milliseconds;
  return true;
}

double QueuedVoice::Speak(std::string_view text, int flags) {
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

double QueuedVoice::SpeakStream(const FileStreamRef&, int) { return 0; }

VoiceStatusRef QueuedVoice::Status() const {
  std::lock_guard lock(mutex_);
  return std::make_shared<StatusSnapshot>(status_);
}

void QueuedVoice::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void QueuedVoice::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  wake_.notify_all();
}

double QueuedVoice::Skip(std::string_view kind, int count) {
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

bool QueuedVoice::WaitUntilDone(int milliseconds) {
  std::unique_lock lock(mutex_);
  const auto done = [&] { return status_.runningState == kRunningStateDone; };
  if (milliseconds < 0) {
    finished_.wait(lock, done);
    return true;
  }
  return finished_.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
}

bool QueuedVoice::IsUISupported(std::string_view, const AnyValue&) { return false; }

void QueuedVoice::DisplayUI(std::int64_t, std::string_view, std::string_view, const AnyValue&) {}

int QueuedVoice::ConnectEvents(VoiceEventSink sink) {
  std::lock_guard lock(mutex_);
  sinks_.emplace_back(++lastConnection_, std::make_shared<VoiceEventSink>(std::move(sink)));
  return lastConnection_;
}

void QueuedVoice::DisconnectEvents(int connection) {
  std::lock_guard lock(mutex_);
  std::erase_if(sinks_, [&](const auto& entry) { return entry.first == connection; });
}

VoiceEvent QueuedVoice::MakeEvent(int number, int stream, std::int64_t position,
                                  std::vector<int> rest) {
  VoiceEvent event;
  event.number = number;
  event.arguments.emplace_back(static_cast<std::int32_t>(stream));
  event.arguments.emplace_back(
      static_cast<std::int32_t>(std::min<std::int64_t>(position, INT32_MAX)));
  for (int value : rest) event.arguments.emplace_back(static_cast<std::int32_t>(value));
  return event;
}

void QueuedVoice::Raise(const VoiceEvent& event) {
  std::vector<std::shared_ptr<VoiceEventSink>> sinks;
  {
    std::lock_guard lock(mutex_);
    if (event.number == kEventWord) {
      status_.inputWordPosition = IntArgument(event, 2);
      status_.inputWordLength = IntArgument(event, 3);
    } else if (event.number == kEventSentence) {
      status_.inputSentencePosition = IntArgument(event, 2);
      status_.inputSentenceLength = IntArgument(event, 3);
    }
    if ((eventInterests_ & (1 << (event.number - 1))) == 0) return;
    for (const auto& entry : sinks_) sinks.push_back(entry.second);
  }
  // Never under the lock: handlers may call back into the voice.
  for (const auto& sink : sinks) {
    if (*sink) (*sink)(event);
  }
}

bool QueuedVoice::WaitWhilePaused(const DropFlag& drop) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return !paused_ || stopping_ || drop->load() || skipPending_; });
  return !stopping_ && !drop->load();
}

bool QueuedVoice::SleepFor(std::chrono::milliseconds duration, const DropFlag& drop,
                           bool wakeOnSkip) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, duration,
                 [&] { return stopping_ || drop->load() || (wakeOnSkip && skipPending_); });
  return !stopping_ && !drop->load();
}

int QueuedVoice::TakeSkipRequest() {
  std::lock_guard lock(mutex_);
  if (!skipPending_) return 0;
  skipPending_ = false;
  return skipRequest_;
}

void QueuedVoice::AnswerSkip(int skipped) {
  {
    std::lock_guard lock(mutex_);
    skipResult_ = skipped;
    skipAnswered_ = true;
  }
  finished_.notify_all();
}

void QueuedVoice::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    Item item = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    dropCurrent_ = std::make_shared<std::atomic<bool>>(false);
    const DropFlag drop = dropCurrent_;
    status_.currentStreamNumber = item.stream;
    status_.inputWordPosition = status_.inputWordLength = 0;
    status_.inputSentencePosition = status_.inputSentenceLength = 0;
    lock.unlock();
    SpeakItem(item, drop);
    lock.lock();
    busy_ = false;
    if (skipPending_) {  // asked for too late: nothing was skipped
      skipPending_ = false;
      skipAnswered_ = true;
      skipResult_ = 0;
    }
    completedThrough_ = std::max(completedThrough_, item.stream);
    if (queue_.empty()) status_.runningState = kRunningStateDone;
    finished_.notify_all();
  }
}

}  // namespace quillorn
