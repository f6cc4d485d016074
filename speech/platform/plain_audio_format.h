// An audio format object: a format type, checked against the types the WAV writer knows.
#ifndef QUILLORN_SPEECH_PLATFORM_PLAIN_AUDIO_FORMAT_H_
#define QUILLORN_SPEECH_PLATFORM_PLAIN_AUDIO_FORMAT_H_

#include <atomic>

#include "speech/platform/speech_objects.h"
#include "speech/platform/wav_file_writer.h"

namespace quillorn {

// Type a new audio format has: 22,050 samples per second, 16 bits, mono.
inline constexpr int kDefaultFormatType = 22;

class PlainAudioFormat : public AudioFormat {
 public:
  double Type() const override { return type_; }
  bool SetType(int type) override {
    WavFormat format;
    if (!WavFormatOfType(type, format)) return false;
    type_ = type;
    return true;
  }

 private:
  std::atomic<int> type_{kDefaultFormatType};
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_PLAIN_AUDIO_FORMAT_H_
