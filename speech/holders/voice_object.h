// Holds a voice and its event connection.
//
// The connection has one entry per event number, 1 to 10. A handler bound to an entry is called
// for each event of that number with the context value 0 followed by the event's arguments.
// Holding another voice, or creating one, connects anew and drops every handler.
#ifndef QUILLORN_SPEECH_HOLDERS_VOICE_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_VOICE_OBJECT_H_

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "speech/platform/speech_objects.h"

namespace quillorn {

using VoiceEventHandler =
    std::function<void(int context, const std::vector<EventArgument>& arguments)>;

inline constexpr int kFirstVoiceEvent = 1;
inline constexpr int kLastVoiceEvent = 10;

class VoiceObject {
 public:
  VoiceObject() = default;
  // A copy holds the same voice with a connection of its own, without handlers.
  VoiceObject(const VoiceObject& other);
  VoiceObject& operator=(const VoiceObject& other);
  ~VoiceObject();

  // Creates a new voice; on success it replaces the held one and the connection is made to
  // it. On failure the held voice stays, and the result is false.
  bool Create();
  void SetObject(VoiceRef voice);
  VoiceRef GetObject() const { return voice_; }

  VoiceStatusRef GetStatus() const;
  TokenRef GetVoice() const;
  bool SetVoice(const TokenRef& token);
  TokenRef GetAudioOutput() const;
  bool SetAudioOutput(const TokenRef& output);
  FileStreamRef GetAudioOutputStream() const;
  bool SetAudioOutputStream(const FileStreamRef& stream);
  int GetRate() const;
  bool SetRate(int rate);
  int GetVolume() const;
  bool SetVolume(int volume);
  int GetEventInterests() const;
  bool SetEventInterests(int interests);
  int GetPriority() const;
  bool SetPriority(int priority);
  int GetAlertBoundary() const;
  bool SetAlertBoundary(int boundary);
  int GetSynchronousSpeakTimeout() const;
  bool SetSynchronousSpeakTimeout(int milliseconds);
  int Speak(std::string_view text, int flags);
  int SpeakStream(const FileStreamRef& stream, int flags);
  void Pause();
  void Resume();
  int Skip(std::string_view kind, int count);
  TokenCollectionRef GetVoices(std::string_view required, std::string_view optional = {});
  TokenCollectionRef GetAudioOutputs(std::string_view required, std::string_view optional = {});
  bool WaitUntilDone(int milliseconds);
  bool IsUISupported(std::string_view kind, const AnyValue& data);
  void DisplayUI(int window, std::string_view title, std::string_view kind, const AnyValue& data);
  // Binds `handler` to event `event`, replacing the one bound before; a number outside 1 to 10
  // changes nothing.
  void SetEventHandler(int event, VoiceEventHandler handler);

 private:
  struct Connection {
    std::mutex mutex;
    std::array<VoiceEventHandler, kLastVoiceEvent> handlers;
    void Dispatch(const VoiceEvent& event);
  };

  void Connect();
  void Disconnect();

  VoiceRef voice_;
  std::shared_ptr<Connection> connection_;
  int connectionNumber_ = 0;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_VOICE_OBJECT_H_
