#include "speech/speech_engine.h"

#include <chrono>
#include <thread>

#include "text/codepage.h"

namespace quillorn {

Text CreateVoiceFailedMessage() {
  return Utf8ToGbk("创建对象失败，系统没有SAPI这个模块,或者有其他软件正在使用系统朗读模块");
}
Text CreateStreamFailedMessage() { return Utf8ToGbk("初始化语音文件流失败！"); }
Text BindStreamFailedMessage() { return Utf8ToGbk("语音文件流绑定文Speakvoice失败！"); }
Text WriteFileFailedMessage() { return Utf8ToGbk("写入语音文件失败！"); }

SpeechEngine::SpeechEngine(const SpeechEngine& other)
    : errors_(other.errors_),
      voice_(other.voice_),
      tokens_(other.tokens_),
      currentToken_(other.currentToken_),
      status_(other.status_),
      fileStream_(other.fileStream_),
      audioFormat_(other.audioFormat_) {}

bool SpeechEngine::Initialize() {
  if (!voice_.Create()) {
    errors_.Add(CreateVoiceFailedMessage());
    return false;
  }
  tokens_.SetObject(voice_.GetVoices("", ""));
  return true;
}

int SpeechEngine::GetVoiceCount() const { return tokens_.GetCount(); }

Text SpeechEngine::GetVoiceDescription(int index) {
  currentToken_.SetObject(tokens_.Item(index - 1));
  return currentToken_.GetDescription(0);
}

int SpeechEngine::SpeakWithProgress(std::string_view text, int flags,
                                    const ProgressHandler& handler, bool notify) {
  const int result = voice_.Speak(text, flags);
  if (!notify) return result;
  status_.SetObject(voice_.GetStatus());
  int lastPosition = 0, lastLength = 0;
  const auto call = [&](bool done, int position, int length) {
    if (handler) handler(done, position, length);
  };
  while (status_.GetRunningState() != kRunningStateDone) {
    status_.SetObject(voice_.GetStatus());
    const int position = status_.GetInputSentencePosition();
    const int length = status_.GetInputSentenceLength();
    if (position != lastPosition || length != lastLength) {
      lastPosition = position;
      lastLength = length;
      call(false, position, length);
    }
    if (!voice_.GetObject()) break;  // an empty holder never reports the end
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  call(true, lastPosition, lastLength);
  return result;
}

bool SpeechEngine::WaitUntilDone(int timeout) { return voice_.WaitUntilDone(timeout); }

bool SpeechEngine::SelectVoice(int index) { return voice_.SetVoice(tokens_.Item(index)); }

void SpeechEngine::SetRate(int rate) { voice_.SetRate(rate); }

void SpeechEngine::Pause() { voice_.Pause(); }

void SpeechEngine::Resume() { voice_.Resume(); }

int SpeechEngine::Skip(std::string_view kind, int count) { return voice_.Skip(kind, count); }

void SpeechEngine::QueryProgress(bool& done, int& position, int& length) {
  status_.SetObject(voice_.GetStatus());
  if (status_.GetRunningState() == kRunningStateDone) {
    done = true;
    return;
  }
  const int sentencePosition = status_.GetInputSentencePosition();
  const int sentenceLength = status_.GetInputSentenceLength();
  if (sentencePosition != 0 || sentenceLength != 0) {
    position = sentencePosition;
    length = sentenceLength;
    done = false;
  }
}

void SpeechEngine::SetVolume(int volume) { voice_.SetVolume(volume); }

int SpeechEngine::GetVolume() const { return voice_.GetVolume(); }

bool SpeechEngine::ExportToFile(std::string_view path, std::string_view text) {
  std::lock_guard lock(*exportMutex_);
  if (!fileStream_.Create()) {
    errors_.Add(CreateStreamFailedMessage());
    return false;
  }
  audioFormat_.SetType(kExportFormatType);
  fileStream_.SetFormat(audioFormat_.GetObject());
  fileStream_.Open(path, kStreamCreateForWrite, false);
  if (!voice_.SetAudioOutputStream(fileStream_.GetObject())) {
    errors_.Add(BindStreamFailedMessage());
    return false;
  }
  voice_.Speak(text, 0);
  fileStream_.Close();
  // A file that could not be created or written is a failed export, not a finished one.
  if (fileStream_.Failed()) {
    errors_.Add(WriteFileFailedMessage());
    return false;
  }
  return true;
}

void SpeechEngine::SetEventHandler(int event, VoiceEventHandler handler) {
  voice_.SetEventHandler(event, std::move(handler));
}

Text SpeechEngine::GetErrorText() const {
  Text text;
  for (int i = 1; i <= errors_.GetCount(); ++i) text += errors_.GetItem(i);
  return text;
}

void SpeechEngine::Reset() {
  voice_.Create();
  tokens_.SetObject(voice_.GetVoices("", ""));
}

}  // namespace quillorn
