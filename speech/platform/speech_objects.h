// The speech objects that the speech holders drive: a voice, its voice tokens and status
// snapshots, a file stream and an audio format. Objects are shared: every object handed out is a
// new reference (a shared_ptr) that the receiver drops when done.
//
// Numbers come back as floating-point values; writes report whether the value was taken; a
// failing call yields false, 0, an empty text or no object. Texts are program texts (code page
// 936). Character positions and lengths count UTF-16 code units of the text given to Speak,
// from 0.
#ifndef QUILLORN_SPEECH_PLATFORM_SPEECH_OBJECTS_H_
#define QUILLORN_SPEECH_PLATFORM_SPEECH_OBJECTS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "text/text.h"

namespace quillorn {

class SpeechObject {
 public:
  virtual ~SpeechObject() = default;
};
using ObjectRef = std::shared_ptr<SpeechObject>;

// A value of any kind, for the members whose arguments are not fixed.
using AnyValue =
    std::variant<std::monostate, std::int64_t, double, bool, Text, ByteArray, ObjectRef>;

// Flags of Speak.
inline constexpr int kSpeakAsync = 1;        // return at once; speak after what is queued
inline constexpr int kSpeakPurgeBefore = 2;  // drop everything queued and silence the voice

// Running states of a status snapshot.
inline constexpr int kRunningStateDone = 1;
inline constexpr int kRunningStateSpeaking = 2;

// Event numbers.
enum VoiceEventNumber : int {
  kEventStreamStart = 1,
  kEventStreamEnd = 2,
  kEventVoiceChange = 3,
  kEventBookmark = 4,
  kEventWord = 5,
  kEventPhoneme = 6,
  kEventSentence = 7,
  kEventViseme = 8,
  kEventAudioLevel = 9,
  kEventEngineData = 10,
};

// One argument of a voice event: a 32-bit integer, a text or an object.
using EventArgument = std::variant<std::int32_t, Text, ObjectRef>;

// A raised event: its number and its arguments in their declared order, the stream number and
// the stream position (in bytes of the output stream's format) first.
struct VoiceEvent {
  int number = 0;
  std::vector<EventArgument> arguments;
};
using VoiceEventSink = std::function<void(const VoiceEvent&)>;

class Token : public SpeechObject {
 public:
  virtual Text Id() const = 0;
  virtual ObjectRef Category() const = 0;
  virtual Text Description(int locale = 0) const = 0;
  // Name, Language, Gender, Age or Vendor; "" for any other name.
  virtual Text Attribute(std::string_view name) const = 0;
  virtual ObjectRef CreateInstance(const ObjectRef& outer, int context) const = 0;
  // "Name=value;Name=value": true when every named attribute has that value (ASCII case
  // ignored). An empty text matches every token.
  virtual bool MatchesAttributes(std::string_view attributes) const = 0;
};
using TokenRef = std::shared_ptr<Token>;

class TokenCollection : public SpeechObject {
 public:
  virtual double Count() const = 0;
  virtual TokenRef Item(int index) const = 0;  // from 0; no object outside the collection
};
using TokenCollectionRef = std::shared_ptr<TokenCollection>;

class VoiceStatus : public SpeechObject {
 public:
  virtual double CurrentStreamNumber() const = 0;
  virtual double LastStreamNumberQueued() const = 0;
  virtual double LastHResult() const = 0;
  virtual double RunningState() const = 0;
  virtual double InputWordPosition() const = 0;
  virtual double InputWordLength() const = 0;
  virtual double InputSentencePosition() const = 0;
  virtual double InputSentenceLength() const = 0;
  virtual Text LastBookmark() const = 0;
  virtual double PhonemeId() const = 0;
  virtual double VisemeId() const = 0;
};
using VoiceStatusRef = std::shared_ptr<VoiceStatus>;

// Audio format types: 4 to 39 are PCM (rates 8,000, 11,025, 12,000, 16,000, 22,050, 24,000,
// 32,000, 44,100 and 48,000 in steps of four: 8-bit mono, 8-bit stereo, 16-bit mono, 16-bit
// stereo); 56 is CCITT mu-law, 44,100 samples per second, 2 channels, 8 bits.
inline constexpr int kFormatMuLaw44kStereo = 56;

class AudioFormat : public SpeechObject {
 public:
  virtual double Type() const = 0;
  virtual bool SetType(int type) = 0;  // false for a type the platform does not know
};
using AudioFormatRef = std::shared_ptr<AudioFormat>;

// Open modes of a file stream.
inline constexpr int kStreamOpenForRead = 0;
inline constexpr int kStreamCreateForWrite = 3;

class FileStream : public SpeechObject {
 public:
  virtual AudioFormatRef Format() const = 0;
  virtual bool SetFormat(const AudioFormatRef& format) = 0;
  virtual double Read(AnyValue& buffer, int count) = 0;
  virtual double Write(const AnyValue& buffer) = 0;
  virtual AnyValue Seek(const AnyValue& position, int origin) = 0;
  // Mode 3 creates the file for writing, replacing an existing one; mode 0 opens it for
  // reading. Reports nothing; a failure shows in Failed().
  virtual void Open(std::string_view path, int mode, bool flag) = 0;
  virtual void Close() = 0;
  // True once opening or writing the file failed; stays true until the next Open.
  virtual bool Failed() const = 0;
};
using FileStreamRef = std::shared_ptr<FileStream>;

class Voice : public SpeechObject {
 public:
  virtual TokenCollectionRef GetVoices(std::string_view required = {},
                                       std::string_view optional = {}) = 0;
  virtual TokenCollectionRef GetAudioOutputs(std::string_view required = {},
                                             std::string_view optional = {}) = 0;
  virtual TokenRef GetVoice() const = 0;
  virtual bool SetVoice(const TokenRef& token) = 0;
  virtual TokenRef GetAudioOutput() const = 0;
  virtual bool SetAudioOutput(const TokenRef& output) = 0;
  virtual FileStreamRef GetAudioOutputStream() const = 0;
  // A file stream that receives all later speech; no stream sends speech to the sound output.
  virtual bool SetAudioOutputStream(const FileStreamRef& stream) = 0;
  virtual double Rate() const = 0;
  virtual bool SetRate(int rate) = 0;  // -10 to 10
  virtual double Volume() const = 0;
  virtual bool SetVolume(int volume) = 0;  // 0 to 100
  virtual double EventInterests() const = 0;
  virtual bool SetEventInterests(int interests) = 0;
  virtual double Priority() const = 0;
  virtual bool SetPriority(int priority) = 0;
  virtual double AlertBoundary() const = 0;
  virtual bool SetAlertBoundary(int boundary) = 0;
  virtual double SynchronousSpeakTimeout() const = 0;
  virtual bool SetSynchronousSpeakTimeout(int milliseconds) = 0;
  // Result: the stream number, not 0 on success.
  virtual double Speak(std::string_view text, int flags) = 0;
  virtual double SpeakStream(const FileStreamRef& stream, int flags) = 0;
  virtual VoiceStatusRef Status() const = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Skips `count` items of `kind` ("Sentence") in the speech under way; result: how many.
  virtual double Skip(std::string_view kind, int count) = 0;
  virtual bool WaitUntilDone(int milliseconds) = 0;
  virtual bool IsUISupported(std::string_view kind, const AnyValue& data) = 0;
  virtual void DisplayUI(std::int64_t window, std::string_view title, std::string_view kind,
                         const AnyValue& data) = 0;
  // Event connections: every connected sink gets every raised event, until it is
  // disconnected. Connect returns the connection's number (never 0).
  virtual int ConnectEvents(VoiceEventSink sink) = 0;
  virtual void DisconnectEvents(int connection) = 0;
};
using VoiceRef = std::shared_ptr<Voice>;

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_SPEECH_OBJECTS_H_
