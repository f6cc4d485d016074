#include "speech/holders/voice_object.h"

#include "speech/platform/speech_platform.h"

namespace quillorn {

void VoiceObject::Connection::Dispatch(const VoiceEvent& event) {
  if (event.number < kFirstVoiceEvent || event.number > kLastVoiceEvent) return;
  VoiceEventHandler handler;
  {
    std::lock_guard lock(mutex);
    handler = handlers[static_cast<std::size_t>(event.number - 1)];
  }
  if (handler) handler(0, event.arguments);
}

VoiceObject::VoiceObject(const VoiceObject& other) : voice_(other.voice_) { Connect(); }

VoiceObject& VoiceObject::operator=(const VoiceObject& other) {
  if (this != &other) SetObject(other.voice_);
  return *this;
}

VoiceObject::~VoiceObject() { Disconnect(); }

void VoiceObject::Disconnect() {
  if (voice_ && connectionNumber_ != 0) voice_->DisconnectEvents(connectionNumber_);
  connectionNumber_ = 0;
  connection_.reset();
}

void VoiceObject::Connect() {
  connection_ = std::make_shared<Connection>();
  if (!voice_) return;
  // The voice keeps only a weak link, so a handler never outlives its holder's connection.
  std::weak_ptr<Connection> weak = connection_;
  connectionNumber_ = voice_->ConnectEvents([weak](const VoiceEvent& event) {
    if (auto connection = weak.lock()) connection->Dispatch(event);
  });
}

bool VoiceObject::Create() {
  auto created =
      std::dynamic_pointer_cast<Voice>(CurrentSpeechPlatform().CreateObject(kProgIdVoice));
  if (!created) {
    // The connection is made anew to the voice still held, without handlers.
    Disconnect();
    Connect();
    return false;
  }
  SetObject(std::move(created));
  return true;
}

void VoiceObject::SetObject(VoiceRef voice) {
  Disconnect();
  voice_ = std::move(voice);
  Connect();
}

VoiceStatusRef VoiceObject::GetStatus() const { return voice_ ? voice_->Status() : nullptr; }
TokenRef VoiceObject::GetVoice() const { return voice_ ? voice_->GetVoice() : nullptr; }
bool VoiceObject::SetVoice(const TokenRef& token) { return voice_ && voice_->SetVoice(token); }
TokenRef VoiceObject::GetAudioOutput() const { return voice_ ? voice_->GetAudioOutput() : nullptr; }
bool VoiceObject::SetAudioOutput(const TokenRef& output) {
  return voice_ && voice_->SetAudioOutput(output);
}
FileStreamRef VoiceObject::GetAudioOutputStream() const {
  return voice_ ? voice_->GetAudioOutputStream() : nullptr;
}
bool VoiceObject::SetAudioOutputStream(const FileStreamRef& stream) {
  return voice_ && voice_->SetAudioOutputStream(stream);
}
int VoiceObject::GetRate() const { return voice_ ? WholeNumber(voice_->Rate()) : 0; }
bool VoiceObject::SetRate(int rate) { return voice_ && voice_->SetRate(rate); }
int VoiceObject::GetVolume() const { return voice_ ? WholeNumber(voice_->Volume()) : 0; }
bool VoiceObject::SetVolume(int volume) { return voice_ && voice_->SetVolume(volume); }
int VoiceObject::GetEventInterests() const {
  return voice_ ? WholeNumber(voice_->EventInterests()) : 0;
}
bool VoiceObject::SetEventInterests(int interests) {
  return voice_ && voice_->SetEventInterests(interests);
}
int VoiceObject::GetPriority() const { return voice_ ? WholeNumber(voice_->Priority()) : 0; }
bool VoiceObject::SetPriority(int priority) { return voice_ && voice_->SetPriority(priority); }
int VoiceObject::GetAlertBoundary() const {
  return voice_ ? WholeNumber(voice_->AlertBoundary()) : 0;
}
bool VoiceObject::SetAlertBoundary(int boundary) {
  return voice_ && voice_->SetAlertBoundary(boundary);
}
int VoiceObject::GetSynchronousSpeakTimeout() const {
  return voice_ ? WholeNumber(voice_->SynchronousSpeakTimeout()) : 0;
}
bool VoiceObject::SetSynchronousSpeakTimeout(int milliseconds) {
  return voice_ && voice_->SetSynchronousSpeakTimeout(milliseconds);
}
int VoiceObject::Speak(std::string_view text, int flags) {
  return voice_ ? WholeNumber(voice_->Speak(text, flags)) : 0;
}
int VoiceObject::SpeakStream(const FileStreamRef& stream, int flags) {
  return voice_ ? WholeNumber(voice_->SpeakStream(stream, flags)) : 0;
}
void VoiceObject::Pause() {
  if (voice_) voice_->Pause();
}
void VoiceObject::Resume() {
  if (voice_) voice_->Resume();
}
int VoiceObject::Skip(std::string_view kind, int count) {
  return voice_ ? WholeNumber(voice_->Skip(kind, count)) : 0;
}
TokenCollectionRef VoiceObject::GetVoices(std::string_view required, std::string_view optional) {
  return voice_ ? voice_->GetVoices(required, optional) : nullptr;
}
TokenCollectionRef VoiceObject::GetAudioOutputs(std::string_view required,
                                                std::string_view optional) {
  return voice_ ? voice_->GetAudioOutputs(required, optional) : nullptr;
}
bool VoiceObject::WaitUntilDone(int milliseconds) {
  return voice_ && voice_->WaitUntilDone(milliseconds);
}
bool VoiceObject::IsUISupported(std::string_view kind, const AnyValue& data) {
  return voice_ && voice_->IsUISupported(kind, data);
}
void VoiceObject::DisplayUI(int window, std::string_view title, std::string_view kind,
                            const AnyValue& data) {
  if (voice_) voice_->DisplayUI(window, title, kind, data);
}

void VoiceObject::SetEventHandler(int event, VoiceEventHandler handler) {
  if (event < kFirstVoiceEvent || event > kLastVoiceEvent || !connection_) return;
  std::lock_guard lock(connection_->mutex);
  connection_->handlers[static_cast<std::size_t>(event - 1)] = std::move(handler);
}

}  // namespace quillorn
