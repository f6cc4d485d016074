#include "speech/platform/sound_output.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace quillorn {
namespace {

// 0: not tried yet, 1: reachable, 2: not reachable.
std::atomic<int> serverState{0};

constexpr int kBufferMilliseconds = 60;

class PulseOutput : public SoundOutput {
 public:
  PulseOutput(pa_simple* stream, int sampleRate) : stream_(stream), sampleRate_(sampleRate) {}
  ~PulseOutput() override { pa_simple_free(stream_); }

  bool Write(const std::int16_t* samples, std::size_t count) override {
    int error = 0;
    if (pa_simple_write(stream_, samples, count * sizeof(std::int16_t), &error) < 0) return false;
    written_ += static_cast<std::int64_t>(count);
    lastWrite_ = Clock::now();
    playedAtLastWrite_ = FromLatency();
    return true;
  }

  // From the server's latency while audio flows; once writing stops the latency may stay above
  // zero, so from then on the clock since the last write counts too.
  std::int64_t PlayedFrames() override {
    const double since = std::chrono::duration<double>(Clock::now() - lastWrite_).count();
    const auto byClock = playedAtLastWrite_ + static_cast<std::int64_t>(since * sampleRate_);
    played_ = std::clamp<std::int64_t>(std::max(FromLatency(), byClock), played_, written_);
    return played_;
  }

  std::int64_t WrittenFrames() const override { return written_; }

  void Flush() override {
    int error = 0;
    pa_simple_flush(stream_, &error);
    played_ = playedAtLastWrite_ = written_;
  }

  bool IsSoundServer() const override { return true; }

 private:
  using Clock = std::chrono::steady_clock;

  std::int64_t FromLatency() {
    int error = 0;
    const pa_usec_t latency = pa_simple_get_latency(stream_, &error);
    return written_ - static_cast<std::int64_t>(latency * sampleRate_ / 1000000);
  }

  pa_simple* stream_;
  Clock::time_point lastWrite_ = Clock::now();
  std::int64_t playedAtLastWrite_ = 0;
  int sampleRate_;
  std::int64_t written_ = 0;
  std::int64_t played_ = 0;  // frames known heard (or dropped); the clock never goes back
};

// A device that consumes frames at the sample rate and goes idle when it runs dry.
class SilentOutput : public SoundOutput {
 public:
  SilentOutput(int sampleRate, std::int64_t startFrame)
      : sampleRate_(sampleRate), written_(startFrame), markFrames_(startFrame) {}

  bool Write(const std::int16_t*, std::size_t count) override {
    const std::int64_t buffer = sampleRate_ * kBufferMilliseconds / 1000;
    if (PlayedFrames() >= written_) {  // idle: the device starts again from now
      markTime_ = Clock::now();
      markFrames_ = written_;
    }
    while (written_ - PlayedFrames() > buffer) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    written_ += static_cast<std::int64_t>(count);
    return true;
  }

  std::int64_t PlayedFrames() override {
    const auto elapsed = std::chrono::duration<double>(Clock::now() - markTime_).count();
    const auto frames = markFrames_ + static_cast<std::int64_t>(elapsed * sampleRate_);
    return std::min(frames, written_);
  }

  std::int64_t WrittenFrames() const override { return written_; }

  void Flush() override {
    written_ = PlayedFrames();
    markTime_ = Clock::now();
    markFrames_ = written_;
  }

  bool IsSoundServer() const override { return false; }

 private:
  using Clock = std::chrono::steady_clock;
  int sampleRate_;
  std::int64_t written_;
  Clock::time_point markTime_ = Clock::now();
  std::int64_t markFrames_;
};

}  // namespace

std::unique_ptr<SoundOutput> OpenSilentOutput(int sampleRate, std::int64_t startFrame) {
  return std::make_unique<SilentOutput>(sampleRate, startFrame);
}

std::unique_ptr<SoundOutput> OpenSoundOutput(int sampleRate) {
  pa_sample_spec sampleFormat{};
  sampleFormat.format = PA_SAMPLE_S16LE;
  sampleFormat.rate = static_cast<std::uint32_t>(sampleRate);
  sampleFormat.channels = 1;
  // A short buffer keeps the word shown close to the word heard and lets pause and stop act
  // quickly.
  const auto bytes = static_cast<std::uint32_t>(sampleRate * 2 * kBufferMilliseconds / 1000);
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.tlength = bytes;
  attr.prebuf = bytes / 4;
  attr.minreq = static_cast<std::uint32_t>(-1);
  attr.fragsize = static_cast<std::uint32_t>(-1);
  int error = 0;
  pa_simple* stream = pa_simple_new(nullptr, "Quillorn", PA_STREAM_PLAYBACK, nullptr, "Speech",
                                    &sampleFormat, nullptr, &attr, &error);
  serverState = stream != nullptr ? 1 : 2;
  if (stream == nullptr) return OpenSilentOutput(sampleRate);
  return std::make_unique<PulseOutput>(stream, sampleRate);
}

bool SoundServerReachable() {
  if (serverState == 0) OpenSoundOutput(22050);
  return serverState == 1;
}

}  // namespace quillorn
