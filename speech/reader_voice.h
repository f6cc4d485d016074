// The voice that reads the text aloud and reports each word as it is heard.
#ifndef QUILLORN_SPEECH_READER_VOICE_H_
#define QUILLORN_SPEECH_READER_VOICE_H_

#include <condition_variable>
#include <mutex>
#include <string_view>

#include "speech/platform/speech_objects.h"
#include "speech/progress_handler.h"
#include "text/text.h"

namespace quillorn {

class ReaderVoice {
 public:
  // Creates its voice; a failed creation is not looked at, and every later call on the voice
  // then fails quietly.
  ReaderVoice();
  ReaderVoice(const ReaderVoice& other) : voice_(other.voice_) {}

  // Empties `list`, then appends the description of every installed voice in token order.
  void ListVoices(TextList& list);
  // Makes the installed voice with exactly this description current; false when none has it.
  bool SelectVoiceByDescription(std::string_view description);
  void SetRate(int rate);
  void SetVolume(int volume);

  // Speaks `text` without waiting and polls the voice every 100 ms, calling handler(false,
  // position, length) for each new word when `notify`, and handler(true, last position, last
  // length) at the end, whatever `notify` is. Returns whether the voice took the text. A
  // reading ended by Stop returns without the final call.
  bool ReadAloud(std::string_view text, const ProgressHandler& handler, bool notify);

  // Requests that act on the voice at once and that ReadAloud's polling honours: Pause holds
  // the sound, Resume continues it, Stop silences the voice and ends ReadAloud.
  void Pause();
  void Resume();
  void Stop();
  bool IsPaused() const;

  VoiceRef GetObject() const { return voice_; }

 private:
  VoiceRef voice_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool paused_ = false;
  int stops_ = 0;  // counts Stop calls; a reading ends when it changes
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_READER_VOICE_H_
