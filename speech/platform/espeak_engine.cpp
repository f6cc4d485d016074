#include "speech/platform/espeak_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace quillorn {
namespace {

// What the synthesis callback fills. Only the engine thread synthesises, so one pointer, set
// for the length of each espeak_Synth call, is enough.
struct Collector {
  SynthesisResult* result;
  const std::atomic<bool>* cancelled;
};
Collector* activeCollector = nullptr;

int OnSynth(short* wav, int count, espeak_EVENT* events) {
  Collector* collector = activeCollector;
  if (collector == nullptr) return 0;
  if (collector->cancelled != nullptr && collector->cancelled->load()) return 1;
  SynthesisResult& result = *collector->result;
  const auto base = static_cast<std::int64_t>(result.samples.size());
  for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
    EngineEvent event;
    switch (e->type) {
      case espeakEVENT_WORD:
        event.kind = EngineEvent::kWord;
        break;
      case espeakEVENT_SENTENCE:
        event.kind = EngineEvent::kSentence;
        break;
      case espeakEVENT_END:
        event.kind = EngineEvent::kEnd;
        break;
      default:
        continue;
    }
    event.textPosition = e->text_position;
    event.length = e->length;
    // `sample` counts from the start of the message; clamp it into what has been delivered.
    event.sample = std::clamp<std::int64_t>(e->sample, 0, base + count);
    result.events.push_back(event);
  }
  if (wav != nullptr && count > 0) result.samples.insert(result.samples.end(), wav, wav + count);
  return 0;
}

}  // namespace

EspeakEngine* EspeakEngine::Instance() {
  static EspeakEngine* const engine = [] {
    auto* started = new EspeakEngine();
    if (!started->Start()) {
      delete started;
      return static_cast<EspeakEngine*>(nullptr);
    }
    return started;
  }();
  return engine;
}

bool EspeakEngine::Start() {
  // DONT_EXIT: a missing data folder must be reported, not end the process.
  sampleRate_ =
      espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, espeakINITIALIZE_DONT_EXIT);
  if (sampleRate_ <= 0) return false;
  espeak_SetSynthCallback(OnSynth);
  const espeak_VOICE** listed = espeak_ListVoices(nullptr);
  for (int i = 0; listed != nullptr && listed[i] != nullptr; ++i) {
    const espeak_VOICE* v = listed[i];
    EngineVoice voice;
    voice.name = v->name ? v->name : "";
    voice.identifier = v->identifier ? v->identifier : "";
    voice.language = (v->languages && v->languages[0]) ? v->languages + 1 : "";
    voice.gender = v->gender;
    voice.age = v->age;
    if (voice.identifier == "gmw/en") defaultVoice_ = static_cast<int>(voices_.size());
    voices_.push_back(std::move(voice));
  }
  if (voices_.empty()) {
    espeak_Terminate();
    return false;
  }
  thread_ = std::thread([this] { Run(); });
  return true;
}

EspeakEngine::~EspeakEngine() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

std::future<SynthesisResult> EspeakEngine::Synthesize(
    std::string utf8, SynthesisSettings settings, bool endPause, bool urgent,
    std::shared_ptr<std::atomic<bool>> cancelled) {
  Request request;
  request.utf8 = std::move(utf8);
  request.settings = std::move(settings);
  request.endPause = endPause;
  request.cancelled = std::move(cancelled);
  std::future<SynthesisResult> future = request.promise.get_future();
  {
    std::lock_guard lock(mutex_);
    (urgent ? urgent_ : normal_).push_back(std::move(request));
  }
  wake_.notify_one();
  return future;
}

void EspeakEngine::Run() {
  for (;;) {
    Request request;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !urgent_.empty() || !normal_.empty(); });
      if (stopping_) return;
      auto& queue = urgent_.empty() ? normal_ : urgent_;
      request = std::move(queue.front());
      queue.pop_front();
    }
    request.promise.set_value(Process(request));
  }
}

SynthesisResult EspeakEngine::Process(Request& request) {
  SynthesisResult result;
  if (request.cancelled && request.cancelled->load()) return result;
  if (request.settings.voiceIdentifier != currentVoice_) {
    if (espeak_SetVoiceByName(request.settings.voiceIdentifier.c_str()) != EE_OK) return result;
    currentVoice_ = request.settings.voiceIdentifier;
  }
  espeak_SetParameter(espeakRATE, request.settings.wordsPerMinute, 0);
  espeak_SetParameter(espeakVOLUME, request.settings.amplitude, 0);
  Collector collector{&result, request.cancelled.get()};
  activeCollector = &collector;
  unsigned int flags = espeakCHARS_UTF8;
  if (request.endPause) flags |= espeakENDPAUSE;
  const espeak_ERROR error = espeak_Synth(request.utf8.c_str(), request.utf8.size() + 1, 0,
                                          POS_CHARACTER, 0, flags, nullptr, nullptr);
  activeCollector = nullptr;
  result.ok = error == EE_OK && !(request.cancelled && request.cancelled->load());
  return result;
}

}  // namespace quillorn
