// quillorn-cli: the speech objects for scripts and batch work.
//
//   quillorn-cli voices                                  position and description of each voice
//   quillorn-cli export IN.txt OUT.wav [--voice N] [--rate R]
//   quillorn-cli speak TEXT                              reads aloud, printing each word heard
//
// Texts and files are UTF-8.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "speech/platform/speech_platform.h"
#include "speech/reader_voice.h"
#include "speech/speech_engine.h"
#include "text/codepage.h"
#include "text/text.h"

namespace {

using quillorn::Text;

constexpr const char* kUsage =
    "usage: quillorn-cli voices\n"
    "       quillorn-cli export IN.txt OUT.wav [--voice N] [--rate R]\n"
    "       quillorn-cli speak TEXT\n";

int Fail(const std::string& message) {
  std::cerr << "quillorn-cli: " << message << "\n";
  return 1;
}

std::string ToUtf8(const Text& gbk) { return quillorn::Utf16ToUtf8(quillorn::GbkToUtf16(gbk)); }

bool ParseInt(const char* text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < -100000 || parsed > 100000) return false;
  value = static_cast<int>(parsed);
  return true;
}

int Voices() {
  quillorn::SpeechEngine engine;
  if (!engine.Initialize())
    return Fail("the speech engine cannot start: " + ToUtf8(engine.GetErrorText()));
  for (int i = 1; i <= engine.GetVoiceCount(); ++i) {
    std::cout << (i - 1) << "\t" << ToUtf8(engine.GetVoiceDescription(i)) << "\n";
  }
  return 0;
}

// Redraws the bar when the percentage changes.
void DrawProgress(int position, int length, int total) {
  static int shown = -1;
  const int done = total <= 0 ? 100 : std::min(100, (position + length) * 100 / total);
  if (done == shown) return;
  shown = done;
  const int width = 40;
  const int filled = done * width / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(width - filled), '.').c_str(), done);
  std::fflush(stderr);
}

int Export(int argc, char** argv) {
  if (argc < 4) return Fail(std::string("export needs IN.txt and OUT.wav\n") + kUsage);
  const std::string in = argv[2], out = argv[3];
  int voice = -1, rate = 0;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--voice") == 0 && i + 1 < argc) {
      if (!ParseInt(argv[++i], voice)) return Fail("--voice needs a whole number");
    } else if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
      if (!ParseInt(argv[++i], rate) || rate < -10 || rate > 10) {
        return Fail("--rate needs a whole number from -10 to 10");
      }
    } else {
      return Fail(std::string("unknown argument ") + argv[i] + "\n" + kUsage);
    }
  }
  std::ifstream file(in, std::ios::binary);
  if (!file) return Fail("cannot read " + in);
  std::ostringstream content;
  content << file.rdbuf();
  const Text text = quillorn::Utf8ToGbk(content.str());
  const int total = static_cast<int>(quillorn::GbkToUtf16(text).size());

  quillorn::SpeechEngine engine;
  if (!engine.Initialize())
    return Fail("the speech engine cannot start: " + ToUtf8(engine.GetErrorText()));
  if (voice != -1 && !engine.SelectVoice(voice)) {
    return Fail("no voice at position " + std::to_string(voice) + " (see quillorn-cli voices)");
  }
  engine.SetRate(rate);
  engine.SetEventHandler(quillorn::kEventSentence,
                         [total](int, const std::vector<quillorn::EventArgument>& arguments) {
                           const auto at = [&](std::size_t i) {
                             const auto* v = std::get_if<std::int32_t>(&arguments[i]);
                             return v ? *v : 0;
                           };
                           if (arguments.size() >= 4) DrawProgress(at(2), at(3), total);
                         });
  const bool ok = engine.ExportToFile(out, text);
  engine.WaitUntilDone(100);
  if (!ok) {
    std::fputc('\n', stderr);
    return Fail("export to " + out + " failed: " + ToUtf8(engine.GetErrorText()));
  }
  DrawProgress(total, 0, total);
  std::fputc('\n', stderr);
  return 0;
}

int Speak(int argc, char** argv) {
  if (argc < 3) return Fail(std::string("speak needs a text\n") + kUsage);
  std::string joined;
  for (int i = 2; i < argc; ++i) joined += (i > 2 ? " " : "") + std::string(argv[i]);
  const Text text = quillorn::Utf8ToGbk(joined);
  const std::u16string units = quillorn::GbkToUtf16(text);
  quillorn::ReaderVoice reader;
  if (!reader.GetObject()) return Fail("the speech engine cannot start");
  if (!quillorn::CurrentSpeechPlatform().SoundServerAvailable()) {
    std::cerr << "quillorn-cli: no sound server answers; reading silently\n";
  }
  const bool ok = reader.ReadAloud(
      text,
      [&](bool done, int position, int length) {
        if (done || position < 0 || length <= 0 ||
            static_cast<std::size_t>(position + length) > units.size()) {
          return;
        }
        std::cout << quillorn::Utf16ToUtf8(units.substr(static_cast<std::size_t>(position),
                                                        static_cast<std::size_t>(length)))
                  << std::endl;
      },
      true);
  return ok ? 0 : Fail("the voice did not take the text");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail(std::string("no command\n") + kUsage);
  const std::string command = argv[1];
  if (command == "voices") return Voices();
  if (command == "export") return Export(argc, argv);
  if (command == "speak") return Speak(argc, argv);
  return Fail("unknown command " + command + "\n" + kUsage);
}
