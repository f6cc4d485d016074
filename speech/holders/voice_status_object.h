// Holds one status snapshot of a voice; every read is of that snapshot.
#ifndef QUILLORN_SPEECH_HOLDERS_VOICE_STATUS_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_VOICE_STATUS_OBJECT_H_

#include "speech/holders/object_holder.h"
#include "speech/platform/speech_objects.h"

namespace quillorn {

class VoiceStatusObject : public ObjectHolder<VoiceStatus> {
 public:
  int GetCurrentStreamNumber() const { return Read(&VoiceStatus::CurrentStreamNumber); }
  int GetLastStreamNumberQueued() const { return Read(&VoiceStatus::LastStreamNumberQueued); }
  int GetLastHResult() const { return Read(&VoiceStatus::LastHResult); }
  int GetRunningState() const { return Read(&VoiceStatus::RunningState); }
  int GetInputWordPosition() const { return Read(&VoiceStatus::InputWordPosition); }
  int GetInputWordLength() const { return Read(&VoiceStatus::InputWordLength); }
  int GetInputSentencePosition() const { return Read(&VoiceStatus::InputSentencePosition); }
  int GetInputSentenceLength() const { return Read(&VoiceStatus::InputSentenceLength); }
  Text GetLastBookmark() const {
    return Call([](VoiceStatus& s) { return s.LastBookmark(); }, Text());
  }
  int GetPhonemeId() const { return Read(&VoiceStatus::PhonemeId); }
  int GetVisemeId() const { return Read(&VoiceStatus::VisemeId); }

 private:
  int Read(double (VoiceStatus::*member)() const) const {
    return Call([&](VoiceStatus& s) { return WholeNumber((s.*member)()); }, 0);
  }
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_VOICE_STATUS_OBJECT_H_
