#include "speech/platform/espeak_platform.h"

#include <atomic>

#include "speech/platform/espeak_voice.h"
#include "speech/platform/plain_audio_format.h"
#include "speech/platform/sound_output.h"
#include "speech/platform/wav_file_stream.h"

namespace quillorn {
namespace {

std::atomic<SpeechPlatform*> installed{nullptr};

}  // namespace

void SpeechPlatform::RefuseProgId(std::string_view progId) {
  std::lock_guard lock(mutex_);
  refused_.emplace(progId);
}

void SpeechPlatform::AcceptAllProgIds() {
  std::lock_guard lock(mutex_);
  refused_.clear();
}

ObjectRef SpeechPlatform::CreateObject(std::string_view progId) {
  {
    std::lock_guard lock(mutex_);
    if (refused_.contains(progId)) return nullptr;
  }
  if (progId == kProgIdVoice) return CreateVoice();
  if (progId == kProgIdFileStream) return CreateFileStream();
  if (progId == kProgIdAudioFormat) return CreateAudioFormat();
  return nullptr;
}

SpeechPlatform& CurrentSpeechPlatform() {
  static EspeakPlatform espeak;
  SpeechPlatform* platform = installed.load();
  return platform != nullptr ? *platform : espeak;
}

SpeechPlatform* SetSpeechPlatform(SpeechPlatform* platform) { return installed.exchange(platform); }

bool EspeakPlatform::SoundServerAvailable() { return SoundServerReachable(); }

ObjectRef EspeakPlatform::CreateVoice() {
  EspeakEngine* engine = EspeakEngine::Instance();
  if (engine == nullptr) return nullptr;
  return std::make_shared<EspeakVoice>(*engine);
}

ObjectRef EspeakPlatform::CreateFileStream() { return std::make_shared<WavFileStream>(); }

ObjectRef EspeakPlatform::CreateAudioFormat() { return std::make_shared<PlainAudioFormat>(); }

}  // namespace quillorn
