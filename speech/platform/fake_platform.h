// A speech platform that speaks nothing: voices that step through the words of a text at a
// fixed pace, raising the same events as a real voice, and file streams that keep their bytes
// in memory. For tests of the objects above the platform, and of the window, without an engine
// or a sound server.
#ifndef QUILLORN_SPEECH_PLATFORM_FAKE_PLATFORM_H_
#define QUILLORN_SPEECH_PLATFORM_FAKE_PLATFORM_H_

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "speech/platform/speech_platform.h"

namespace quillorn {

class FakeSpeechPlatform : public SpeechPlatform {
 public:
  // Voices with these descriptions, in this order; each word takes `wordDuration` when heard.
  explicit FakeSpeechPlatform(
      std::vector<Text> voices = {"Fake English", "Fake Chinese", "Fake French", "Fake German"},
      std::chrono::milliseconds wordDuration = std::chrono::milliseconds(200));

  bool SoundServerAvailable() override;
  void SetSoundServerAvailable(bool available);

  // The in-memory files that file streams wrote: path to bytes. A path below "/unwritable/"
  // cannot be created.
  std::map<std::string, ByteArray> Files() const;

  const std::vector<Text>& VoiceNames() const { return voices_; }
  std::chrono::milliseconds WordDuration() const { return wordDuration_; }

  // Called by the fake file streams.
  bool StoreFile(const std::string& path, ByteArray bytes);

 protected:
  ObjectRef CreateVoice() override;
  ObjectRef CreateFileStream() override;
  ObjectRef CreateAudioFormat() override;

 private:
  std::vector<Text> voices_;
  std::chrono::milliseconds wordDuration_;
  mutable std::mutex mutex_;
  bool soundServer_ = true;
  std::map<std::string, ByteArray> files_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_FAKE_PLATFORM_H_
