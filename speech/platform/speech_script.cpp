#include "speech/platform/speech_script.h"

#include <algorithm>
#include <array>

namespace quillorn {
namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v' ||
         c == u'\u00A0' || c == u'\u3000' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' ||
         c == u'\u2029';
}

bool IsTerminal(char16_t c) {
  return c == u'.' || c == u'!' || c == u'?' || c == u'\u3002' || c == u'\uFF01' ||
         c == u'\uFF1F' || c == u'\u2026';
}

bool IsClosing(char16_t c) {
  return c == u'"' || c == u'\'' || c == u')' || c == u']' || c == u'}' || c == u'\u2019' ||
         c == u'\u201D' || c == u'\u300D' || c == u'\u300F' || c == u'\uFF09';
}

bool IsClauseMark(char16_t c) {
  return c == u',' || c == u';' || c == u':' || c == u'\uFF0C' || c == u'\uFF1B' ||
         c == u'\u3001' || c == u'\u2014';
}

bool IsLowerOrDigit(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); }

// Titles whose period ends no sentence.
bool EndsWithTitle(std::u16string_view text, std::size_t periodAt) {
  static constexpr std::array<std::u16string_view, 10> kTitles = {
      u"Mr", u"Mrs", u"Ms", u"Dr", u"Prof", u"St", u"Jr", u"Sr", u"vs", u"Mt"};
  for (std::u16string_view title : kTitles) {
    if (periodAt < title.size()) continue;
    const std::size_t start = periodAt - title.size();
    if (text.substr(start, title.size()) != title) continue;
    if (start == 0 || IsSpace(text[start - 1]) || text[start - 1] == u'(') return true;
  }
  return false;
}

// True when a blank line begins at `at`: a line break, nothing but spaces, a line break.
bool BlankLineAt(std::u16string_view text, std::size_t at) {
  if (text[at] != u'\n') return false;
  for (std::size_t k = at + 1; k < text.size(); ++k) {
    if (text[k] == u'\n') return true;
    if (!IsSpace(text[k])) return false;
  }
  return false;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

SpeechChunk MakeChunk(std::u16string_view text, std::size_t begin, std::size_t end) {
  SpeechChunk chunk;
  chunk.utf8.reserve((end - begin) * 3);
  chunk.unitOffsets.reserve(end - begin + 1);
  for (std::size_t i = begin; i < end;) {
    chunk.unitOffsets.push_back(static_cast<int>(i));
    char32_t cp = text[i];
    std::size_t width = 1;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < end && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      width = 2;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate
    } else if (cp == 0) {
      cp = u' ';  // the engine reads its text up to a zero
    }
    AppendUtf8(chunk.utf8, cp);
    i += width;
  }
  chunk.unitOffsets.push_back(static_cast<int>(end));
  return chunk;
}

// Where to cut a sentence piece [begin, end) that is too long: behind the last clause mark or
// space before the limit, or at the limit.
std::size_t CutPoint(std::u16string_view text, std::size_t begin, std::size_t end) {
  const std::size_t limit = begin + kMaxChunkUnits;
  if (end <= limit) return end;
  for (std::size_t k = limit; k > begin + kMaxChunkUnits / 2; --k) {
    if (IsClauseMark(text[k - 1]) && IsSpace(text[k])) return k;
  }
  for (std::size_t k = limit; k > begin + 1; --k) {
    if (IsSpace(text[k - 1])) return k;
  }
  std::size_t cut = limit;
  if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;  // keep a surrogate pair
  return cut;
}

}  // namespace

TextSpan SpeechChunk::SpanOf(int position, int length) const {
  const int last = static_cast<int>(unitOffsets.size()) - 1;
  const int from = std::clamp(position - 1, 0, last);
  const int to = std::clamp(from + std::max(length, 0), from, last);
  return {unitOffsets[from], unitOffsets[to] - unitOffsets[from]};
}

SpeechScript PrepareSpeech(std::u16string_view text) {
  SpeechScript script;
  script.units.assign(text);
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (true) {
    while (i < n && IsSpace(text[i])) ++i;
    if (i >= n) break;
    const std::size_t start = i;
    std::size_t end = n;     // one behind the sentence's last character
    std::size_t resume = n;  // where the next sentence is looked for
    for (std::size_t k = start; k < n; ++k) {
      if (BlankLineAt(text, k)) {
        end = k;
        resume = k;
        break;
      }
      if (!IsTerminal(text[k])) continue;
      std::size_t runEnd = k;
      while (runEnd < n && IsTerminal(text[runEnd])) ++runEnd;
      std::size_t after = runEnd;
      while (after < n && IsClosing(text[after])) ++after;
      // Full-width marks end a sentence directly; the others need a space behind them.
      const bool fullWidth = text[runEnd - 1] >= u'\u3000';
      if (after < n && !IsSpace(text[after]) && !fullWidth) {  // "3.5", "a.m.", "?!x"
        k = after - 1;
        continue;
      }
      std::size_t next = after;
      while (next < n && IsSpace(text[next])) ++next;
      const bool singlePeriod = text[k] == u'.' && runEnd == k + 1;
      if (singlePeriod && next < n && (IsLowerOrDigit(text[next]) || EndsWithTitle(text, k))) {
        k = after - 1;
        continue;
      }
      end = after;
      resume = after;
      break;
    }
    while (end > start && IsSpace(text[end - 1])) --end;
    const int sentence = static_cast<int>(script.sentences.size());
    script.sentences.push_back({static_cast<int>(start), static_cast<int>(end - start)});
    for (std::size_t piece = start; piece < end;) {
      const std::size_t cut = CutPoint(text, piece, end);
      SpeechChunk chunk = MakeChunk(text, piece, cut);
      chunk.sentence = sentence;
      chunk.startsSentence = piece == start;
      chunk.endsSentence = cut == end;
      script.chunks.push_back(std::move(chunk));
      piece = cut;
      while (piece < end && IsSpace(text[piece])) ++piece;
    }
    i = resume;
  }
  return script;
}

}  // namespace quillorn
