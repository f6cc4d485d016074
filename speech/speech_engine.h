// The speech engine object of the main window: the installed voices, the choice of voice by list
// position, the rate, numbered voice events and the export of a text to a WAV file.
#ifndef QUILLORN_SPEECH_SPEECH_ENGINE_H_
#define QUILLORN_SPEECH_SPEECH_ENGINE_H_

#include <memory>
#include <mutex>
#include <string_view>

#include "speech/holders/audio_format_object.h"
#include "speech/holders/error_list.h"
#include "speech/holders/file_stream_object.h"
#include "speech/holders/token_list_object.h"
#include "speech/holders/token_object.h"
#include "speech/holders/voice_object.h"
#include "speech/holders/voice_status_object.h"
#include "speech/progress_handler.h"

namespace quillorn {

// Failure messages, as program text.
Text CreateVoiceFailedMessage();  // "创建对象失败，系统没有SAPI这个模块,或者有其他软件正在使用系统朗读模块"
Text CreateStreamFailedMessage();  // "初始化语音文件流失败！"
Text BindStreamFailedMessage();    // "语音文件流绑定文Speakvoice失败！"
Text WriteFileFailedMessage();     // "写入语音文件失败！"

// The audio format type of every export: CCITT mu-law, 44,100 Hz, 2 channels, 8 bits.
inline constexpr int kExportFormatType = 56;

class SpeechEngine {
 public:
  SpeechEngine() = default;
  SpeechEngine(const SpeechEngine& other);

  // Creates the voice and reads the voice tokens. False, with a message in the error list,
  // when the voice cannot be created.
  bool Initialize();
  int GetVoiceCount() const;
  // From 1; the token looked up becomes the current token. "" outside 1 to the count.
  Text GetVoiceDescription(int index);
  // Speaks and, when `notify`, polls every 100 ms, calling handler(false, position, length) for
  // each new sentence and handler(true, ...) at the end. Result: the Speak result.
  int SpeakWithProgress(std::string_view text, int flags, const ProgressHandler& handler,
                        bool notify);
  bool WaitUntilDone(int timeout);
  // From 0; false, and the voice stays, outside the list.
  bool SelectVoice(int index);
  void SetRate(int rate);
  void Pause();
  void Resume();
  int Skip(std::string_view kind, int count);
  void QueryProgress(bool& done, int& position, int& length);
  void SetVolume(int volume);
  int GetVolume() const;
  // Speaks `text` into a new WAV file at `path`. False, with a message in the error list, when
  // no stream could be made, the voice refused it, or the file could not be created or written.
  bool ExportToFile(std::string_view path, std::string_view text);
  void SetEventHandler(int event, VoiceEventHandler handler);
  // Every message of the error list, in order, with nothing between them.
  Text GetErrorText() const;
  // Creates the voice anew (dropping every handler) and reads the tokens again.
  void Reset();

 private:
  ErrorList errors_;
  VoiceObject voice_;
  TokenListObject tokens_;
  TokenObject currentToken_;
  VoiceStatusObject status_;
  FileStreamObject fileStream_;
  AudioFormatObject audioFormat_;
  // Exports from two threads at once would rebind each other's streams.
  std::shared_ptr<std::mutex> exportMutex_ = std::make_shared<std::mutex>();
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_SPEECH_ENGINE_H_
