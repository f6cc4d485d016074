// A status snapshot: the values of a voice's progress at the moment it was taken.
#ifndef QUILLORN_SPEECH_PLATFORM_STATUS_SNAPSHOT_H_
#define QUILLORN_SPEECH_PLATFORM_STATUS_SNAPSHOT_H_

#include "speech/platform/speech_objects.h"

namespace quillorn {

struct StatusValues {
  int currentStreamNumber = 0;
  int lastStreamNumberQueued = 0;
  int lastHResult = 0;
  int runningState = kRunningStateDone;
  int inputWordPosition = 0;
  int inputWordLength = 0;
  int inputSentencePosition = 0;
  int inputSentenceLength = 0;
  Text lastBookmark;
  int phonemeId = 0;
  int visemeId = 0;
};

class StatusSnapshot : public VoiceStatus {
 public:
  explicit StatusSnapshot(StatusValues values) : values_(std::move(values)) {}
  double CurrentStreamNumber() const override { return values_.currentStreamNumber; }
  double LastStreamNumberQueued() const override { return values_.lastStreamNumberQueued; }
  double LastHResult() const override { return values_.lastHResult; }
  double RunningState() const override { return values_.runningState; }
  double InputWordPosition() const override { return values_.inputWordPosition; }
  double InputWordLength() const override { return values_.inputWordLength; }
  double InputSentencePosition() const override { return values_.inputSentencePosition; }
  double InputSentenceLength() const override { return values_.inputSentenceLength; }
  Text LastBookmark() const override { return values_.lastBookmark; }
  double PhonemeId() const override { return values_.phonemeId; }
  double VisemeId() const override { return values_.visemeId; }

 private:
  StatusValues values_;
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_STATUS_SNAPSHOT_H_
