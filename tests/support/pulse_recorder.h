// Records what a PulseAudio sink plays, from its monitor source, on a thread of its own, with
// the time each sample was heard.
#ifndef QUILLORN_TESTS_SUPPORT_PULSE_RECORDER_H_
#define QUILLORN_TESTS_SUPPORT_PULSE_RECORDER_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillorn::testing {

class PulseRecorder {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kRate = 22050;

  // Starts recording `sink`'s monitor; Ok() tells whether it could.
  explicit PulseRecorder(const std::string& sink);
  ~PulseRecorder();
  bool Ok() const { return ok_; }
  void Stop();

  // Root mean square of the samples heard between two times (0 when none were recorded).
  double Rms(Clock::time_point from, Clock::time_point to) const;
  double Rms() const;

 private:
  void Run();

  void* stream_ = nullptr;
  bool ok_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::int16_t> samples_;
  // When the first sample of each block of 10 ms was heard; the monitor delivers nothing while
  // the sink is idle, so the blocks are not evenly spaced in time.
  std::vector<Clock::time_point> blockTimes_;
};

}  // namespace quillorn::testing

#endif  // QUILLORN_TESTS_SUPPORT_PULSE_RECORDER_H_
