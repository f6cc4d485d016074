#include "speech/reader_voice.h"

#include <chrono>
#include <cmath>

#include "speech/platform/speech_platform.h"

namespace quillorn {
namespace {

constexpr double kTolerance = 1e-7;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

}  // namespace

ReaderVoice::ReaderVoice()
    : voice_(std::dynamic_pointer_cast<Voice>(CurrentSpeechPlatform().CreateObject(kProgIdVoice))) {
}

void ReaderVoice::ListVoices(TextList& list) {
  list.clear();
  if (!voice_) return;
  const TokenCollectionRef tokens = voice_->GetVoices();
  if (!tokens) return;
  const int count = WholeNumber(tokens->Count());
  for (int i = 0; i < count; ++i) {
    const TokenRef token = tokens->Item(i);
    list.push_back(token ? token->Description() : Text());
  }
}

bool ReaderVoice::SelectVoiceByDescription(std::string_view description) {
  if (!voice_) return false;
  const TokenCollectionRef tokens = voice_->GetVoices();
  if (!tokens) return false;
  const int count = WholeNumber(tokens->Count());
  for (int i = 0; i < count; ++i) {
    const TokenRef token = tokens->Item(i);
    if (token && token->Description() == description) {
      voice_->SetVoice(tokens->Item(i));
      return true;
    }
  }
  return false;
}

void ReaderVoice::SetRate(int rate) {
  if (voice_) voice_->SetRate(rate);
}

void ReaderVoice::SetVolume(int volume) {
  if (voice_) voice_->SetVolume(volume);
}

bool ReaderVoice::ReadAloud(std::string_view text, const ProgressHandler& handler, bool notify) {
  const auto call = [&](bool done, int position, int length) {
    if (handler) handler(done, position, length);
  };
  int lastPosition = 0, lastLength = 0;
  if (!voice_) {
    // No voice will ever report the end: finish at once instead of polling forever.
    call(true, lastPosition, lastLength);
    return false;
  }
  std::unique_lock lock(mutex_);
  const int stops = stops_;
  lock.unlock();
  const bool result = WholeNumber(voice_->Speak(text, kSpeakAsync)) != 0;

  const auto status = [&] { return voice_->Status(); };
  for (;;) {
    lock.lock();
    if (stops_ != stops) return result;
    const bool paused = paused_;
    lock.unlock();
    if (!paused) {
      VoiceStatusRef snapshot = status();
      if (snapshot && std::fabs(snapshot->RunningState() - kRunningStateDone) <= kTolerance) break;
      snapshot = status();
      bool changed =
          snapshot && std::fabs(snapshot->InputWordPosition() - lastPosition) > kTolerance;
      if (!changed) {
        snapshot = status();
        changed = snapshot && std::fabs(snapshot->InputWordLength() - lastLength) > kTolerance;
      }
      if (changed) {
        snapshot = status();
        lastPosition = snapshot ? WholeNumber(snapshot->InputWordPosition()) : 0;
        snapshot = status();
        lastLength = snapshot ? WholeNumber(snapshot->InputWordLength()) : 0;
        if (notify) call(false, lastPosition, lastLength);
      }
    }
    lock.lock();
    wake_.wait_for(lock, kPollInterval, [&] { return stops_ != stops; });
    lock.unlock();
  }
  call(true, lastPosition, lastLength);
  return result;
}

void ReaderVoice::Pause() {
  {
    std::lock_guard lock(mutex_);
    paused_ = true;
  }
  if (voice_) voice_->Pause();
}

void ReaderVoice::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  if (voice_) voice_->Resume();
  wake_.notify_all();
}

void ReaderVoice::Stop() {
  {
    std::lock_guard lock(mutex_);
    ++stops_;
    paused_ = false;
  }
  if (voice_) {
    voice_->Speak("", kSpeakPurgeBefore | kSpeakAsync);
    voice_->Resume();
  }
  wake_.notify_all();
}

bool ReaderVoice::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

}  // namespace quillorn
