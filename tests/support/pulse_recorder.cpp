#include "tests/support/pulse_recorder.h"

#include <pulse/simple.h>

#include <algorithm>
#include <cmath>

namespace quillorn::testing {

PulseRecorder::PulseRecorder(const std::string& sink) {
  pa_sample_spec sampleFormat{};
  sampleFormat.format = PA_SAMPLE_S16LE;
  sampleFormat.rate = kRate;
  sampleFormat.channels = 1;
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.fragsize = kRate * 2 / 100;  // 10 ms
  int error = 0;
  const std::string monitor = sink + ".monitor";
  stream_ = pa_simple_new(nullptr, "Quillorn tests", PA_STREAM_RECORD, monitor.c_str(), "Monitor",
                          &sampleFormat, nullptr, &attr, &error);
  ok_ = stream_ != nullptr;
  if (ok_) thread_ = std::thread([this] { Run(); });
}

PulseRecorder::~PulseRecorder() {
  Stop();
  if (stream_ != nullptr) pa_simple_free(static_cast<pa_simple*>(stream_));
}

void PulseRecorder::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void PulseRecorder::Run() {
  auto* stream = static_cast<pa_simple*>(stream_);
  std::vector<std::int16_t> block(kRate / 100);
  while (!stop_) {
    int error = 0;
    if (pa_simple_read(stream, block.data(), block.size() * 2, &error) < 0) return;
    const auto now = Clock::now();
    const pa_usec_t latency = pa_simple_get_latency(stream, &error);
    std::lock_guard lock(mutex_);
    // The block's last sample was heard `latency` ago.
    blockTimes_.push_back(
        now - std::chrono::microseconds(latency) -
        std::chrono::microseconds(static_cast<std::int64_t>(block.size()) * 1000000 / kRate));
    samples_.insert(samples_.end(), block.begin(), block.end());
  }
}

double PulseRecorder::Rms(Clock::time_point from, Clock::time_point to) const {
  std::lock_guard lock(mutex_);
  const std::size_t blockSize = kRate / 100;
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t b = 0; b < blockTimes_.size(); ++b) {
    for (std::size_t i = 0; i < blockSize; ++i) {
      const auto heard = blockTimes_[b] +
                         std::chrono::microseconds(static_cast<std::int64_t>(i) * 1000000 / kRate);
      if (heard < from || heard >= to) continue;
      const double s = samples_[b * blockSize + i];
      sum += s * s;
      ++count;
    }
  }
  return count == 0 ? 0 : std::sqrt(sum / static_cast<double>(count));
}

double PulseRecorder::Rms() const {
  std::lock_guard lock(mutex_);
  if (samples_.empty()) return 0;
  double sum = 0;
  for (const std::int16_t s : samples_) sum += double(s) * s;
  return std::sqrt(sum / static_cast<double>(samples_.size()));
}

}  // namespace quillorn::testing
