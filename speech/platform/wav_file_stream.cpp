#include "speech/platform/wav_file_stream.h"

#include "speech/platform/plain_audio_format.h"

namespace quillorn {

AudioFormatRef WavFileStream::Format() const {
  std::lock_guard lock(mutex_);
  return format_;
}

bool WavFileStream::SetFormat(const AudioFormatRef& format) {
  if (!format) return false;
  std::lock_guard lock(mutex_);
  format_ = format;
  return true;
}

void WavFileStream::Open(std::string_view path, int mode, bool) {
  std::lock_guard lock(mutex_);
  writer_.Close();
  reader_.close();
  reader_.clear();
  failed_ = false;
  path_.assign(path);
  const int type = format_ ? static_cast<int>(format_->Type()) : kDefaultFormatType;
  if (!WavFormatOfType(type, wavFormat_)) WavFormatOfType(kDefaultFormatType, wavFormat_);
  mode_ = mode;
  if (mode == kStreamCreateForWrite) {
    // The file is created now, so that a path that cannot be written shows at once.
    failed_ = !writer_.Open(path_, wavFormat_);
  } else if (mode == kStreamOpenForRead) {
    reader_.open(path_, std::ios::binary);
    failed_ = !reader_.is_open();
  } else {
    failed_ = true;
    mode_ = -1;
  }
}

bool WavFileStream::WriteSpeech(std::span<const std::int16_t> samples, int sampleRate) {
  std::lock_guard lock(mutex_);
  if (mode_ != kStreamCreateForWrite || failed_) return false;
  if (!writer_.Write(samples, sampleRate)) failed_ = true;
  return !failed_;
}

double WavFileStream::Write(const AnyValue& buffer) {
  std::lock_guard lock(mutex_);
  if (mode_ != kStreamCreateForWrite || failed_) return 0;
  std::span<const std::uint8_t> bytes;
  if (const auto* array = std::get_if<ByteArray>(&buffer)) {
    bytes = *array;
  } else if (const auto* text = std::get_if<Text>(&buffer)) {
    bytes = std::span(reinterpret_cast<const std::uint8_t*>(text->data()), text->size());
  } else {
    return 0;
  }
  const std::int64_t written = writer_.WriteRaw(bytes);
  if (written < static_cast<std::int64_t>(bytes.size())) failed_ = true;
  return static_cast<double>(written);
}

double WavFileStream::Read(AnyValue& buffer, int count) {
  std::lock_guard lock(mutex_);
  if (mode_ != kStreamOpenForRead || failed_ || count <= 0) return 0;
  ByteArray bytes(static_cast<std::size_t>(count));
  reader_.read(reinterpret_cast<char*>(bytes.data()), count);
  bytes.resize(static_cast<std::size_t>(reader_.gcount()));
  if (reader_.eof()) reader_.clear();
  const auto read = static_cast<double>(bytes.size());
  buffer = std::move(bytes);
  return read;
}

AnyValue WavFileStream::Seek(const AnyValue& position, int origin) {
  std::lock_guard lock(mutex_);
  if (mode_ == kStreamCreateForWrite) return static_cast<std::int64_t>(writer_.BytesWritten());
  if (mode_ != kStreamOpenForRead) return std::int64_t{0};
  std::int64_t offset = 0;
  if (const auto* i = std::get_if<std::int64_t>(&position)) offset = *i;
  if (const auto* d = std::get_if<double>(&position)) offset = static_cast<std::int64_t>(*d);
  const auto way = origin == 1 ? std::ios::cur : origin == 2 ? std::ios::end : std::ios::beg;
  reader_.seekg(offset, way);
  if (!reader_) reader_.clear();
  return static_cast<std::int64_t>(reader_.tellg());
}

void WavFileStream::Close() {
  std::lock_guard lock(mutex_);
  if (mode_ == kStreamCreateForWrite && !writer_.Close()) failed_ = true;
  reader_.close();
  mode_ = -1;
}

bool WavFileStream::Failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

std::int64_t WavFileStream::Position() const {
  std::lock_guard lock(mutex_);
  return writer_.BytesWritten();
}

int WavFileStream::BytesPerSecond() const {
  std::lock_guard lock(mutex_);
  return wavFormat_.sampleRate * wavFormat_.BytesPerFrame();
}

}  // namespace quillorn
