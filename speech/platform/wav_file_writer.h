// Writes speech samples into a WAV file of a given audio format type, as they come: the engine's
// mono samples are resampled (libsoxr, high quality), spread over the channels and encoded
// (libsndfile). Memory stays the same whatever the length of the speech.
#ifndef QUILLORN_SPEECH_PLATFORM_WAV_FILE_WRITER_H_
#define QUILLORN_SPEECH_PLATFORM_WAV_FILE_WRITER_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct sf_private_tag;
struct soxr;

namespace quillorn {

struct WavFormat {
  int sampleRate = 22050;
  int channels = 1;
  int bitsPerSample = 16;
  bool muLaw = false;
  int BytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// The WAV format of an audio format type (4 to 39, 56); false for any other type.
bool WavFormatOfType(int type, WavFormat& format);

class WavFileWriter {
 public:
  WavFileWriter();
  ~WavFileWriter();
  WavFileWriter(const WavFileWriter&) = delete;
  WavFileWriter& operator=(const WavFileWriter&) = delete;

  // Creates or replaces the file. False when it cannot be created.
  bool Open(const std::string& path, const WavFormat& format);
  // Mono samples at `inputRate`, which the first write fixes for the file. False once a write
  // failed.
  bool Write(std::span<const std::int16_t> samples, int inputRate);
  // Bytes appended to the audio data as they are; returns how many were written.
  std::int64_t WriteRaw(std::span<const std::uint8_t> bytes);
  // Writes what the resampler still holds and completes the file. False when any write, or
  // completing the file, failed.
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }
  // Bytes of audio data written so far.
  std::int64_t BytesWritten() const {
    return framesWritten_ * format_.BytesPerFrame() + rawBytesWritten_;
  }

 private:
  bool WriteFrames(const std::int16_t* mono, std::size_t frames);

  sf_private_tag* file_ = nullptr;
  soxr* resampler_ = nullptr;
  WavFormat format_;
  int inputRate_ = 0;
  bool failed_ = false;
  std::int64_t framesWritten_ = 0;
  std::int64_t rawBytesWritten_ = 0;
  std::vector<std::int16_t> resampled_;
  std::vector<std::int16_t> interleaved_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_WAV_FILE_WRITER_H_
