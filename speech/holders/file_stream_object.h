// Holds a file stream that speech is written into.
#ifndef QUILLORN_SPEECH_HOLDERS_FILE_STREAM_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_FILE_STREAM_OBJECT_H_

#include <string_view>

#include "speech/holders/object_holder.h"
#include "speech/platform/speech_objects.h"
#include "speech/platform/speech_platform.h"

namespace quillorn {

class FileStreamObject : public ObjectHolder<FileStream> {
 public:
  // Creates a new file stream; on failure the held one stays and the result is false.
  bool Create() {
    auto created = std::dynamic_pointer_cast<FileStream>(
        CurrentSpeechPlatform().CreateObject(kProgIdFileStream));
    if (!created) return false;
    object_ = std::move(created);
    return true;
  }
  AudioFormatRef GetFormat() const {
    return Call([](FileStream& s) { return s.Format(); }, AudioFormatRef());
  }
  bool SetFormat(const AudioFormatRef& format) {
    return Call([&](FileStream& s) { return s.SetFormat(format); }, false);
  }
  int Read(AnyValue& buffer, int count) {
    return Call([&](FileStream& s) { return WholeNumber(s.Read(buffer, count)); }, 0);
  }
  int Write(const AnyValue& buffer) {
    return Call([&](FileStream& s) { return WholeNumber(s.Write(buffer)); }, 0);
  }
  AnyValue Seek(const AnyValue& position, int origin) {
    return Call([&](FileStream& s) { return s.Seek(position, origin); }, AnyValue());
  }
  void Open(std::string_view path, int mode, bool flag) {
    if (object_) object_->Open(path, mode, flag);
  }
  void Close() {
    if (object_) object_->Close();
  }
  // True when the file could not be created or written; an empty holder has failed too.
  bool Failed() const {
    return Call([](FileStream& s) { return s.Failed(); }, true);
  }
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_FILE_STREAM_OBJECT_H_
