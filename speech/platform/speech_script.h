// Splits a text to be spoken into sentences and into the pieces the engine synthesises one at a
// time, and maps the engine's character positions back to UTF-16 offsets of the text.
#ifndef QUILLORN_SPEECH_PLATFORM_SPEECH_SCRIPT_H_
#define QUILLORN_SPEECH_PLATFORM_SPEECH_SCRIPT_H_

#include <string>
#include <string_view>
#include <vector>

namespace quillorn {

// A stretch of the spoken text in UTF-16 code units, from 0.
struct TextSpan {
  int position = 0;
  int length = 0;
  bool operator==(const TextSpan&) const = default;
};

// One piece of a sentence, synthesised in one step.
struct SpeechChunk {
  std::string utf8;  // the text handed to the engine
  // UTF-16 offset in the whole text of each code point of `utf8`, plus one entry for its end.
  std::vector<int> unitOffsets;
  int sentence = 0;  // index of its sentence in SpeechScript::sentences
  bool startsSentence = false;
  bool endsSentence = false;

  // The span of `length` code points from the 1-based code point `position` of `utf8`, clamped
  // to the chunk.
  TextSpan SpanOf(int position, int length) const;
};

struct SpeechScript {
  std::u16string units;             // the whole text
  std::vector<TextSpan> sentences;  // from the first character to the closing punctuation
  std::vector<SpeechChunk> chunks;  // in order; together they hold every non-space character
};

// Longest piece, in code units, that is synthesised in one step; longer sentences are cut at a
// clause mark or a space before this length.
inline constexpr int kMaxChunkUnits = 300;

// Sentences end after ".", "!", "?" (and their full-width forms, and "…"), with any closing
// quotes or brackets, before a space or the end of the text; a "." followed by a lower-case
// letter or a digit, and the "." of a title such as "Mr.", ends none. A blank line ends a
// sentence too.
//   PrepareSpeech(u"Hello there. How are you?").sentences == {{0, 12}, {13, 12}}
SpeechScript PrepareSpeech(std::u16string_view text);

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_SPEECH_SCRIPT_H_
