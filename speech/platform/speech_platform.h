// The speech platform: creates speech objects by ProgID.
#ifndef QUILLORN_SPEECH_PLATFORM_SPEECH_PLATFORM_H_
#define QUILLORN_SPEECH_PLATFORM_SPEECH_PLATFORM_H_

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "speech/platform/speech_objects.h"

namespace quillorn {

inline constexpr std::string_view kProgIdVoice = "SAPI.SpVoice";
inline constexpr std::string_view kProgIdFileStream = "SAPI.SpFileStream";
inline constexpr std::string_view kProgIdAudioFormat = "SAPI.SpAudioFormat";

class SpeechPlatform {
 public:
  virtual ~SpeechPlatform() = default;

  // A new object of the kind the ProgID names, or no object when the ProgID is unknown,
  // refused, or the engine cannot start.
  ObjectRef CreateObject(std::string_view progId);

  // True when speech is heard through a sound server; false when it goes to the silent output
  // that consumes audio at real-time pace.
  virtual bool SoundServerAvailable() = 0;

  // Makes CreateObject refuse a ProgID, as a machine without that component would.
  void RefuseProgId(std::string_view progId);
  void AcceptAllProgIds();

 protected:
  virtual ObjectRef CreateVoice() = 0;
  virtual ObjectRef CreateFileStream() = 0;
  virtual ObjectRef CreateAudioFormat() = 0;

 private:
  std::mutex mutex_;
  std::set<std::string, std::less<>> refused_;
};

// The platform that the speech holders create their objects with: the espeak-ng platform
// unless a test installed another.
SpeechPlatform& CurrentSpeechPlatform();

// Installs `platform` as the current one (nullptr: back to the espeak-ng platform) and returns
// the one it replaces. For tests.
SpeechPlatform* SetSpeechPlatform(SpeechPlatform* platform);

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_SPEECH_PLATFORM_H_
