// Holds an audio format object, which it creates when it is constructed.
#ifndef QUILLORN_SPEECH_HOLDERS_AUDIO_FORMAT_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_AUDIO_FORMAT_OBJECT_H_

#include "speech/holders/object_holder.h"
#include "speech/platform/speech_objects.h"
#include "speech/platform/speech_platform.h"

namespace quillorn {

class AudioFormatObject : public ObjectHolder<AudioFormat> {
 public:
  // A failed creation leaves the holder empty and is not reported.
  AudioFormatObject() {
    object_ = std::dynamic_pointer_cast<AudioFormat>(
        CurrentSpeechPlatform().CreateObject(kProgIdAudioFormat));
  }
  int GetType() const {
    return Call([](AudioFormat& f) { return WholeNumber(f.Type()); }, 0);
  }
  bool SetType(int type) {
    return Call([&](AudioFormat& f) { return f.SetType(type); }, false);
  }
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_AUDIO_FORMAT_OBJECT_H_
