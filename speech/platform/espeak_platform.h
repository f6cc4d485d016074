// The speech platform over espeak-ng, the sound server and WAV files.
#ifndef QUILLORN_SPEECH_PLATFORM_ESPEAK_PLATFORM_H_
#define QUILLORN_SPEECH_PLATFORM_ESPEAK_PLATFORM_H_

#include "speech/platform/speech_platform.h"

namespace quillorn {

class EspeakPlatform : public SpeechPlatform {
 public:
  bool SoundServerAvailable() override;

 protected:
  ObjectRef CreateVoice() override;  // no object when espeak-ng cannot start
  ObjectRef CreateFileStream() override;
  ObjectRef CreateAudioFormat() override;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_ESPEAK_PLATFORM_H_
