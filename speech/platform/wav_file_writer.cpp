#include "speech/platform/wav_file_writer.h"

#include <sndfile.h>
#include <soxr.h>

#include <array>

namespace quillorn {

bool WavFormatOfType(int type, WavFormat& format) {
  if (type == 56) {
    format = {44100, 2, 8, true};
    return true;
  }
  if (type < 4 || type > 39) return false;
  static constexpr std::array<int, 9> kRates = {8000,  11025, 12000, 16000, 22050,
                                                24000, 32000, 44100, 48000};
  const int index = type - 4;
  format.sampleRate = kRates[static_cast<std::size_t>(index / 4)];
  format.channels = (index % 2) + 1;
  format.bitsPerSample = (index % 4) < 2 ? 8 : 16;
  format.muLaw = false;
  return true;
}

WavFileWriter::WavFileWriter() = default;

WavFileWriter::~WavFileWriter() { Close(); }

bool WavFileWriter::Open(const std::string& path, const WavFormat& format) {
  Close();
  failed_ = false;
  framesWritten_ = 0;
  rawBytesWritten_ = 0;
  format_ = format;
  inputRate_ = 0;
  SF_INFO info{};
  info.samplerate = format.sampleRate;
  info.channels = format.channels;
  info.format = SF_FORMAT_WAV | (format.muLaw                ? SF_FORMAT_ULAW
                                 : format.bitsPerSample == 8 ? SF_FORMAT_PCM_U8
                                                             : SF_FORMAT_PCM_16);
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  failed_ = file_ == nullptr;
  return !failed_;
}

bool WavFileWriter::WriteFrames(const std::int16_t* mono, std::size_t frames) {
  if (frames == 0) return !failed_;
  const std::int16_t* data = mono;
  if (format_.channels == 2) {
    interleaved_.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
      interleaved_[2 * i] = mono[i];
      interleaved_[2 * i + 1] = mono[i];
    }
    data = interleaved_.data();
  }
  const auto count = static_cast<sf_count_t>(frames);
  if (sf_writef_short(file_, data, count) != count) failed_ = true;
  framesWritten_ += count;
  return !failed_;
}

bool WavFileWriter::Write(std::span<const std::int16_t> samples, int inputRate) {
  if (file_ == nullptr || failed_) return false;
  if (inputRate_ == 0) {
    inputRate_ = inputRate;
    if (inputRate != format_.sampleRate) {
      const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
      const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
      soxr_error_t error = nullptr;
      resampler_ = soxr_create(inputRate, format_.sampleRate, 1, &error, &io, &quality, nullptr);
      if (error != nullptr) {
        resampler_ = nullptr;
        failed_ = true;
        return false;
      }
    }
  } else if (inputRate != inputRate_) {
    failed_ = true;
    return false;
  }
  if (resampler_ == nullptr) return WriteFrames(samples.data(), samples.size());
  const double ratio = static_cast<double>(format_.sampleRate) / inputRate_;
  std::size_t offset = 0;
  while (offset < samples.size()) {
    const std::size_t in = std::min<std::size_t>(samples.size() - offset, 16384);
    resampled_.resize(static_cast<std::size_t>(static_cast<double>(in) * ratio * 2) + 64);
    std::size_t consumed = 0, produced = 0;
    if (soxr_process(resampler_, samples.data() + offset, in, &consumed, resampled_.data(),
                     resampled_.size(), &produced) != nullptr) {
      failed_ = true;
      return false;
    }
    if (!WriteFrames(resampled_.data(), produced)) return false;
    offset += consumed;
  }
  return true;
}

std::int64_t WavFileWriter::WriteRaw(std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr || failed_ || bytes.empty()) return 0;
  const sf_count_t written =
      sf_write_raw(file_, bytes.data(), static_cast<sf_count_t>(bytes.size()));
  if (written != static_cast<sf_count_t>(bytes.size())) failed_ = true;
  rawBytesWritten_ += written;
  return written;
}

bool WavFileWriter::Close() {
  if (file_ == nullptr) return !failed_;
  if (resampler_ != nullptr) {
    resampled_.resize(8192);
    for (;;) {  // flush what the resampler holds back
      std::size_t produced = 0;
      if (soxr_process(resampler_, nullptr, 0, nullptr, resampled_.data(), resampled_.size(),
                       &produced) != nullptr) {
        failed_ = true;
        break;
      }
      if (produced == 0 || !WriteFrames(resampled_.data(), produced)) break;
    }
    soxr_delete(resampler_);
    resampler_ = nullptr;
  }
  if (sf_close(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace quillorn
