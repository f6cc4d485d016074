// A file stream that holds speech as a WAV file in its audio format.
#ifndef QUILLORN_SPEECH_PLATFORM_WAV_FILE_STREAM_H_
#define QUILLORN_SPEECH_PLATFORM_WAV_FILE_STREAM_H_

#include <fstream>
#include <mutex>
#include <span>
#include <string>

#include "speech/platform/speech_objects.h"
#include "speech/platform/wav_file_writer.h"

namespace quillorn {

class WavFileStream : public FileStream {
 public:
  AudioFormatRef Format() const override;
  bool SetFormat(const AudioFormatRef& format) override;
  // On a stream opened for reading: up to `count` bytes of the file into `buffer` (a byte
  // array); result: how many.
  double Read(AnyValue& buffer, int count) override;
  // On a stream opened for writing: the bytes of a byte array (or text) appended to the audio
  // data as they are; result: how many.
  double Write(const AnyValue& buffer) override;
  // On a stream opened for reading: moves to a byte position from the start (0), the current
  // position (1) or the end (2); result: the new position.
  AnyValue Seek(const AnyValue& position, int origin) override;
  void Open(std::string_view path, int mode, bool flag) override;
  void Close() override;
  bool Failed() const override;

  // The voice writes its speech through these: mono samples at `sampleRate`.
  bool WriteSpeech(std::span<const std::int16_t> samples, int sampleRate);
  // Bytes of audio data written so far, in the stream's format.
  std::int64_t Position() const;
  // Bytes per second of the stream's format.
  int BytesPerSecond() const;

 private:
  mutable std::mutex mutex_;
  AudioFormatRef format_;
  std::string path_;
  int mode_ = -1;  // -1: not open
  WavFormat wavFormat_;
  WavFileWriter writer_;
  std::ifstream reader_;
  bool failed_ = false;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_WAV_FILE_STREAM_H_
