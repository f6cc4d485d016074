// Where heard speech goes: the desktop's sound server (PulseAudio, or PipeWire through the same
// interface), or, when none can be reached, a silent output that takes the audio at real-time
// pace so that readings and their word progress go on all the same.
#ifndef QUILLORN_SPEECH_PLATFORM_SOUND_OUTPUT_H_
#define QUILLORN_SPEECH_PLATFORM_SOUND_OUTPUT_H_

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quillorn {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Hands mono 16-bit samples to the output; blocks while its small buffer is full, so the
  // caller runs at the pace of the sound.
  virtual bool Write(const std::int16_t* samples, std::size_t count) = 0;
  // Frames heard so far: those written minus those still waiting in buffers.
  virtual std::int64_t PlayedFrames() = 0;
  // Frames written so far.
  virtual std::int64_t WrittenFrames() const = 0;
  // Drops everything not yet heard, at once.
  virtual void Flush() = 0;
  virtual bool IsSoundServer() const = 0;
};

// The sound server's output, or the silent one when no server answers.
std::unique_ptr<SoundOutput> OpenSoundOutput(int sampleRate);

// The silent output on its own; its frame count starts at `startFrame`, so that it can take over
// from an output that was lost.
std::unique_ptr<SoundOutput> OpenSilentOutput(int sampleRate, std::int64_t startFrame = 0);

// Whether the last attempt to reach the sound server succeeded; tries once when none was made.
bool SoundServerReachable();

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_SOUND_OUTPUT_H_
